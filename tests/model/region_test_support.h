#pragma once
// Region operation tests: cells written and read back as short texts, on a
// bare song whose rows show as many subrows as the test says.

#include "model/clipboard.h"
#include "module_test_support.h"
#include "platform/status_text.h"

#include <map>
#include <string>
#include <vector>

struct Cell {
    int row = 0;
    int subrow = 0;
    int pitch = -1;
    int instrument = 0;
    int volume = -1;
    char command = '.';
    int parameter = 0;
    int panning = -1;
};

inline void put(TesselPattern& pattern, int channel, const Cell& c)
{
    TesselSubrow& s = pattern.tracks.getTrack(channel).getRow(c.row).subrowAt(c.subrow);
    s.pitch = static_cast<int16_t>(c.pitch);
    s.instrument = static_cast<int16_t>(c.instrument);
    s.volume = static_cast<int16_t>(c.volume);
    s.panning = static_cast<int16_t>(c.panning);
    s.effect.command = c.command;
    s.effect.parameter = static_cast<int16_t>(c.parameter);
}

// "row.subrow:" and the fields set (p pitch, i instrument, v volume, b
// panning, effect letter and parameter) of each non-empty cell, blank separated.
inline std::string cellText(const TesselPattern& pattern, int channel)
{
    std::string out;
    const TesselTrack* track = pattern.tracks.trackAt(channel);
    for (int r = 0; track && r < track->length(); ++r) {
        const TesselRow* row = track->rowAt(r);
        if (!row)
            continue;
        std::vector<const TesselSubrow*> cells{row};
        if (row->subrows())
            for (const TesselSubrow& s : *row->subrows())
                cells.push_back(&s);
        for (const TesselSubrow* s : cells) {
            if (s->TesselSubrow::isEmpty())
                continue;
            out += (out.empty() ? "" : " ") + std::to_string(r) + "." + std::to_string(s == row ? 0 : s->index) + ":";
            if (s->pitch != -1) out += "p" + std::to_string(s->pitch);
            if (s->instrument != 0) out += "i" + std::to_string(s->instrument);
            if (s->volume != -1) out += "v" + std::to_string(s->volume);
            if (s->panning != -1) out += "b" + std::to_string(s->panning);
            if (s->effect.command != '.' || s->effect.parameter != 0)
                out += s->effect.command + std::to_string(s->effect.parameter);
        }
    }
    return out;
}

class RegionTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        song = makeSong();
        pattern = &song->patterns[0];
        pattern->setLength(16);
        region.speeds = [this](const TesselPattern&, int row) {
            const auto it = subrows.find(row);
            return it == subrows.end() ? 1 : it->second;
        };
        platform::clearStatusText();
    }
    void TearDown() override
    {
        platform::clearStatusText();
        ModuleTest::TearDown();
    }

    // Channels first..last, rows first..last, normalised.
    void selectBlock(int firstChannel, int firstRow, int lastChannel, int lastRow)
    {
        region.select(pattern, {static_cast<int16_t>(firstChannel), 0, static_cast<int16_t>(firstRow), 0},
                      {static_cast<int16_t>(lastChannel), 0, static_cast<int16_t>(lastRow), 0});
    }

    std::unique_ptr<TesselModule> song;
    TesselPattern* pattern = nullptr;
    TesselSelection region;
    std::map<int, int> subrows;   // row -> subrows shown; 1 elsewhere
};
