// Modules by other people, shipped in Debian packages (njam-data,
// circuslinux-data), imported and compared with what libopenmpt reports of
// them: title, order list, sample names, initial speed and tempo. libopenmpt
// does not report sample lengths, so they are checked against the headers.

#include "model/import/tracker_import_test_support.h"

#include "model/import/mod_import_parts.h"
#include "model/scratch_folder.h"

#include <libopenmpt/libopenmpt.h>

#include <algorithm>
#include <memory>

namespace {

const char kS3m[] = "/usr/share/games/njam/data/ritam.s3m";
const char kModFolder[] = "/usr/share/games/circuslinux/data/music/";

struct OpenMpt {
    explicit OpenMpt(const std::string& bytes)
        : module(openmpt_module_create_from_memory2(bytes.data(), bytes.size(), nullptr, nullptr, nullptr, nullptr,
                                                    nullptr, nullptr, nullptr))
    {
    }
    ~OpenMpt()
    {
        if (module)
            openmpt_module_destroy(module);
    }
    OpenMpt(const OpenMpt&) = delete;
    OpenMpt& operator=(const OpenMpt&) = delete;

    static std::string take(const char* text)
    {
        std::string s = text ? text : "";
        openmpt_free_string(text);
        return s;
    }
    std::string title() const { return take(openmpt_module_get_metadata(module, "title")); }
    std::string sampleName(int i) const { return take(openmpt_module_get_sample_name(module, i)); }

    openmpt_module* module;
};

// Names as both sides show them: the code page's 0xFF blank (U+00A0 in
// libopenmpt's UTF-8) as a blank, trailing blanks cut.
std::string shown(std::string s)
{
    for (size_t at; (at = s.find("\xC2\xA0")) != std::string::npos;)
        s.replace(at, 2, " ");
    std::replace(s.begin(), s.end(), '\xFF', ' ');
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

uint32_t u16le(const std::string& b, size_t at) { return uint8_t(b[at]) | uint32_t(uint8_t(b[at + 1])) << 8; }
uint32_t u16be(const std::string& b, size_t at) { return uint32_t(uint8_t(b[at])) << 8 | uint8_t(b[at + 1]); }

} // namespace

class TrackerReferenceTest : public TrackerImportTest {
protected:
    // Orders up to the end marker as libopenmpt numbers them.
    std::vector<int> orders() const
    {
        std::vector<int> list;
        for (int i = 0; i < song->orderList.length; ++i) {
            const int32_t p = song->orderList.entries[static_cast<size_t>(i)].pattern;
            if (p == kOrderEnd)
                break;
            list.push_back(p == kOrderSkip ? 0xFFFE : p == kOrderEmpty ? 0xFFFF : p);
        }
        return list;
    }

    void compare(const OpenMpt& reference, int samples)
    {
        ASSERT_TRUE(reference.module);
        EXPECT_EQ(std::string(song->text), reference.title());
        std::vector<int> expected;
        for (int i = 0; i < openmpt_module_get_num_orders(reference.module); ++i)
            expected.push_back(openmpt_module_get_order_pattern(reference.module, i));
        EXPECT_EQ(orders(), expected);
        ASSERT_EQ(openmpt_module_get_num_samples(reference.module), samples);
        for (int i = 0; i < samples; ++i)
            EXPECT_EQ(shown(sample(i).nameText()), shown(reference.sampleName(i))) << i;
        EXPECT_EQ(song->tempo, openmpt_module_get_current_tempo(reference.module));
        EXPECT_EQ(song->resolution, openmpt_module_get_current_speed(reference.module));
        EXPECT_EQ(song->timingMode, TesselModule::Speed);
    }
};

TEST_F(TrackerReferenceTest, S3mFromNjamMatchesLibopenmpt)
{
    const std::string bytes = readWholeFile(kS3m);
    if (bytes.empty())
        GTEST_FAIL() << kS3m << " missing: scripts/install-packages.sh installs njam-data";
    ASSERT_EQ(importScreamTracker3(kS3m, *song), kImportLoaded);
    const OpenMpt reference(bytes);
    compare(reference, 19);
    EXPECT_EQ(song->orderList.entries[17].pattern, kOrderEnd);

    const size_t orderCount = u16le(bytes, 32);
    int withAudio = 0;
    for (int i = 0; i < 19; ++i) {
        const size_t header = 16 * u16le(bytes, 96 + orderCount + 2 * static_cast<size_t>(i));
        const bool used = bytes[header] == 1;
        EXPECT_EQ(sample(i).length, used ? static_cast<int32_t>(u16le(bytes, header + 16)) : 0) << i;
        if (used && sample(i).length > 0) {
            ++withAudio;
            EXPECT_EQ(sample(i).audio.frames, static_cast<uint32_t>(sample(i).length) + 6) << i;
        }
    }
    EXPECT_EQ(withAudio, 7);
    EXPECT_EQ(sample(0).length, 9226);
    EXPECT_EQ(sample(2).loop.type, 1);
    EXPECT_EQ(sample(2).loop.begin, 4200);
    EXPECT_EQ(sample(17).defaultVolume, 48);
}

TEST_F(TrackerReferenceTest, ModsFromCircusLinuxMatchLibopenmpt)
{
    int compared = 0;
    for (const char* name : {"finally", "hiscore", "hiscreen", "kaupunki", "klovninarki"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(kModFolder) + name + ".mod";
        const std::string bytes = readWholeFile(path);
        if (bytes.empty())
            continue;
        ASSERT_EQ(importMod(path, *song), kImportLoaded);
        const OpenMpt reference(bytes);
        compare(reference, 31);
        EXPECT_EQ(openmpt_module_get_num_channels(reference.module), 4);
        for (int i = 0; i < 31; ++i) {
            const size_t header = 20 + 30 * static_cast<size_t>(i);
            EXPECT_EQ(sample(i).length, static_cast<int32_t>(2 * u16be(bytes, header + 22))) << i;
            const int finetune = uint8_t(bytes[header + 24]) & 15;
            EXPECT_EQ(sample(i).speed, modFinetuneSpeed(finetune));
        }
        ++compared;
    }
    if (compared == 0)
        GTEST_FAIL() << kModFolder << " missing: scripts/install-packages.sh installs circuslinux-data";
    EXPECT_EQ(compared, 5);
}
