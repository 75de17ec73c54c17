// XM modules made by other people (shipped by Debian packages, see
// scripts/install-packages.sh), imported and compared with what the
// reference player library reads from the same files.

#include "model/import/xm_import_test_support.h"
#include "model/scratch_folder.h"

#include <libopenmpt/libopenmpt.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char* const kModules[] = {
    "/usr/share/games/ceferino/music/menu.xm",   // ceferino-data
};

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\0'))
        text.pop_back();
    return text;
}

uint32_t le(const std::string& b, size_t at, int n)
{
    uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        if (at + static_cast<size_t>(i) < b.size())
            v |= static_cast<uint32_t>(static_cast<uint8_t>(b[at + static_cast<size_t>(i)])) << (8 * i);
    return v;
}

struct SampleFacts {
    uint32_t bytes;
    uint8_t type;
    int relativeNote;
    int finetune;
};

// The sample headers in file order, walked by the published layout.
std::vector<SampleFacts> sampleHeaders(const std::string& b)
{
    size_t at = 60 + le(b, 60, 4);
    for (uint32_t p = le(b, 70, 2); p > 0; --p)
        at += le(b, at, 4) + le(b, at + 7, 2);
    std::vector<SampleFacts> facts;
    for (uint32_t i = le(b, 72, 2); i > 0 && at < b.size(); --i) {
        const uint32_t n = le(b, at + 27, 2);
        at += le(b, at, 4);
        uint64_t data = 0;
        for (uint32_t s = 0; s < n; ++s, at += 40) {
            facts.push_back({le(b, at, 4), static_cast<uint8_t>(le(b, at + 14, 1)),
                             static_cast<int8_t>(le(b, at + 16, 1)), static_cast<int8_t>(le(b, at + 13, 1))});
            data += facts.back().bytes;
        }
        at += data;
    }
    return facts;
}

} // namespace

TEST_F(XmImportTest, RealModulesAgreeWithTheReferenceReader)
{
    int checked = 0;
    for (const char* path : kModules) {
        const std::string bytes = readWholeFile(path);
        if (bytes.empty())
            continue;
        ++checked;
        SCOPED_TRACE(path);
        ASSERT_EQ(importFastTracker(path, *song), kXmLoaded);
        const openmpt::module reference(bytes.data(), bytes.size());

        EXPECT_EQ(trimmed(song->text), trimmed(reference.get_metadata("title")));

        ASSERT_EQ(song->orderList.length, reference.get_num_orders());
        for (int o = 0; o < reference.get_num_orders(); ++o)
            EXPECT_EQ(song->orderList.entries[static_cast<size_t>(o)].pattern, reference.get_order_pattern(o)) << o;

        const int patterns = std::min(reference.get_num_patterns(), kPatterns);
        const int channels = std::min(reference.get_num_channels(), kChannels);
        int notes = 0;
        for (int p = 0; p < patterns; ++p) {
            const int rows = reference.get_pattern_num_rows(p);
            ASSERT_EQ(song->patterns[static_cast<size_t>(p)].length(), rows) << "pattern " << p;
            for (int r = 0; r < rows; ++r) {
                for (int c = 0; c < channels; ++c) {
                    const TesselRow& cell = cellAt(p, c, r);
                    const int note = reference.get_pattern_row_channel_command(p, r, c, openmpt::module::command_note);
                    const int instrument =
                        reference.get_pattern_row_channel_command(p, r, c, openmpt::module::command_instrument);
                    // The reference counts notes from 1, keeps note off as 255 and empty as 0.
                    const int expected = note == 0 ? -1 : note == 255 ? 255 : note - 1;
                    ASSERT_EQ(cell.pitch, expected) << "pattern " << p << " row " << r << " channel " << c;
                    ASSERT_EQ(cell.instrument, instrument) << "pattern " << p << " row " << r << " channel " << c;
                    notes += cell.pitch >= 0;
                }
            }
        }
        EXPECT_GT(notes, 0);

        const std::vector<std::string> instruments = reference.get_instrument_names();
        ASSERT_LE(instruments.size(), size_t{kInstruments});
        for (size_t i = 0; i < instruments.size(); ++i)
            EXPECT_EQ(trimmed(song->instruments[i].nameText()), trimmed(instruments[i])) << "instrument " << i;

        const std::vector<std::string> sampleNames = reference.get_sample_names();
        const std::vector<SampleFacts> facts = sampleHeaders(bytes);
        ASSERT_EQ(facts.size(), sampleNames.size());
        for (size_t s = 0; s < facts.size() && s < size_t{kSamples}; ++s) {
            const TesselSample& sample = song->samples[s];
            EXPECT_EQ(trimmed(sample.nameText()), trimmed(sampleNames[s])) << "sample " << s;
            const uint32_t frameBytes = ((facts[s].type & 16) ? 2 : 1) * ((facts[s].type & 32) ? 2 : 1);
            EXPECT_EQ(static_cast<uint32_t>(sample.length), facts[s].bytes / frameBytes) << "sample " << s;
            const double semitones = facts[s].relativeNote + facts[s].finetune / 128.0;
            EXPECT_EQ(sample.speed, static_cast<int32_t>(8363.0 * std::pow(1.059463094359, semitones)));
            EXPECT_NEAR(sample.speed, 8363.0 * std::exp2(semitones / 12.0), 1.0) << "sample " << s;
        }
    }
    if (checked == 0)
        GTEST_FAIL() << "no real XM module installed: scripts/install-packages.sh installs ceferino-data";
}
