// Modules made by other people, from a Debian package of game music, against
// libopenmpt's reading of the same files. libopenmpt does not publish sample
// lengths or C5 speeds, so those are checked against the sample headers read
// here field by field.

#include "model/import/it_import.h"
#include "model/module_test_support.h"

#include <libopenmpt/libopenmpt.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

const char* const kMusicFolder = "/usr/share/games/biniax2/music";

std::vector<std::string> realModules()
{
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(kMusicFolder, error))
        if (entry.path().extension() == ".it")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string trimmed(std::string s, size_t limit)
{
    s = s.substr(0, limit);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.pop_back();
    return s;
}

uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t le16(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }

class ItImportRealTest : public ModuleTest {};

void compareWithLibopenmpt(const std::string& path, const std::vector<uint8_t>& bytes, const TesselModule& song)
{
    openmpt::module reference(bytes);
    EXPECT_EQ(trimmed(song.text, 26), trimmed(reference.get_metadata("title"), 26));

    for (int32_t i = 0; i < reference.get_num_orders(); ++i) {
        const int32_t theirs = reference.get_order_pattern(i);
        const int32_t expected = theirs == 0xFFFE ? kOrderSkip : theirs == 0xFFFF ? kOrderEnd : theirs;
        EXPECT_EQ(song.orderList.entries[static_cast<size_t>(i)].pattern, expected) << "order " << i;
    }

    const std::vector<std::string> samples = reference.get_sample_names();
    ASSERT_LE(samples.size(), static_cast<size_t>(kSamples));
    for (size_t i = 0; i < samples.size(); ++i)
        EXPECT_EQ(trimmed(song.samples[i].nameText(), 25), trimmed(samples[i], 25)) << "sample " << i + 1;
    const std::vector<std::string> instruments = reference.get_instrument_names();
    for (size_t i = 0; i < instruments.size() && i < static_cast<size_t>(kInstruments); ++i)
        EXPECT_EQ(trimmed(song.instruments[i].nameText(), 25), trimmed(instruments[i], 25)) << "instrument " << i + 1;

    int cells = 0;
    for (int32_t p = 0; p < std::min(reference.get_num_patterns(), kPatterns); ++p) {
        const TesselPattern& pattern = song.patterns[static_cast<size_t>(p)];
        const int32_t rows = reference.get_pattern_num_rows(p);
        if (rows == 0)
            continue;
        ASSERT_EQ(pattern.length(), rows) << "pattern " << p;
        for (int32_t r = 0; r < rows; ++r) {
            for (int32_t c = 0; c < reference.get_num_channels(); ++c) {
                const TesselRow* row = pattern.findRow(c, r);
                const TesselRow& ours = row ? *row : TesselRow::blank();
                const int note = reference.get_pattern_row_channel_command(p, r, c, openmpt::module::command_note);
                const int instrument =
                    reference.get_pattern_row_channel_command(p, r, c, openmpt::module::command_instrument);
                const int volumeCommand =
                    reference.get_pattern_row_channel_command(p, r, c, openmpt::module::command_volumeffect);
                const int volume = reference.get_pattern_row_channel_command(p, r, c, openmpt::module::command_volume);
                const std::string where = path + " pattern " + std::to_string(p) + " row " + std::to_string(r) +
                                          " channel " + std::to_string(c);
                const int expected = note >= 1 && note <= 120 ? note - 1 : note >= 254 ? note : -1;
                EXPECT_EQ(ours.pitch, expected) << where;
                EXPECT_EQ(ours.instrument, std::min(instrument, 99)) << where;
                // libopenmpt gives a note cut that names an instrument volume 0
                // of its own; the file has no volume there.
                const bool cutWithInstrument = note == 254 && instrument != 0 && volumeCommand == 1 && volume == 0;
                EXPECT_EQ(ours.volume, volumeCommand == 1 && !cutWithInstrument ? volume : -1) << where;
                EXPECT_EQ(ours.panning, volumeCommand == 2 ? volume : -1) << where;
                cells += note != 0;
            }
        }
    }
    EXPECT_GT(cells, 0);
}

// Sample lengths, C5 speeds and loop points straight from the headers.
void compareSampleHeaders(const std::vector<uint8_t>& bytes, const TesselModule& song)
{
    const size_t orders = le16(bytes, 32), instruments = le16(bytes, 34), samples = le16(bytes, 36);
    for (size_t i = 0; i < samples && i < static_cast<size_t>(kSamples); ++i) {
        const size_t at = le32(bytes, 192 + orders + 4 * instruments + 4 * i);
        const TesselSample& s = song.samples[i];
        EXPECT_EQ(s.length, static_cast<int32_t>(le32(bytes, at + 48))) << "sample " << i + 1;
        EXPECT_EQ(s.speed, static_cast<int32_t>(le32(bytes, at + 60))) << "sample " << i + 1;
        if (s.loop.type != 0) {
            EXPECT_EQ(s.loop.begin, static_cast<int32_t>(le32(bytes, at + 52)));
            EXPECT_EQ(s.loop.end, static_cast<int32_t>(le32(bytes, at + 56)));
        }
        EXPECT_EQ(s.bits, s.length == 0 ? 0 : (bytes[at + 18] & 2) ? 16 : 8);
        if (s.length > 0) {
            ASSERT_NE(s.audio.channel(0), nullptr);
        }
    }
}

TEST_F(ItImportRealTest, ModulesFromAGameMatchLibopenmpt)
{
    const std::vector<std::string> files = realModules();
    if (files.empty())
        GTEST_FAIL() << "no modules in " << kMusicFolder << ": scripts/install-packages.sh installs biniax2-data";
    auto song = std::make_unique<TesselModule>();
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const std::vector<uint8_t> bytes = readFile(path);
        TesselImportReport report;
        ASSERT_EQ(importImpulseTracker(path, *song, &report), kImportLoaded);
        EXPECT_TRUE(report.warnings.empty()) << report.warnings.front();
        compareWithLibopenmpt(path, bytes, *song);
        compareSampleHeaders(bytes, *song);
    }
}

} // namespace
