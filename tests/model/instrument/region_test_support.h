#pragma once
// Region operation tests on a bare song whose rows show as many subrows as
// the test says. Cells are written and read as short texts: per non-empty
// cell "row.subrow:" and its fields (p pitch, i instrument, v volume,
// b panning, an effect letter and its parameter), blank separated.

#include "model/module_test_support.h"
#include "model/selection/clipboard.h"
#include "platform/status_text.h"

#include <map>
#include <sstream>
#include <string>

inline void putCells(TesselPattern& pattern, int channel, const std::string& text)
{
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        std::istringstream cell(token);
        int row = 0, subrow = 0, value = 0;
        char dot = 0, colon = 0, field = 0;
        cell >> row >> dot >> subrow >> colon;
        TesselSubrow& s = pattern.tracks.getTrack(channel).getRow(row).subrowAt(subrow);
        while (cell >> field >> value) {
            const auto v = static_cast<int16_t>(value);
            switch (field) {
            case 'p': s.pitch = v; break;
            case 'i': s.instrument = v; break;
            case 'v': s.volume = v; break;
            case 'b': s.panning = v; break;
            default: s.effect.command = field; s.effect.parameter = v; break;
            }
        }
    }
}

inline std::string cellText(const TesselPattern& pattern, int channel)
{
    std::string out;
    const TesselTrack* track = pattern.tracks.trackAt(channel);
    for (int r = 0; track && r < track->length(); ++r) {
        const TesselRow* row = track->rowAt(r);
        std::vector<const TesselSubrow*> cells{row};
        if (row && row->subrows())
            for (const TesselSubrow& s : *row->subrows())
                cells.push_back(&s);
        for (const TesselSubrow* s : cells) {
            if (!s || s->TesselSubrow::isEmpty())
                continue;
            out += (out.empty() ? "" : " ") + std::to_string(r) + "." + std::to_string(s == row ? 0 : s->index) + ":";
            for (auto [letter, value] : {std::pair{'p', s->pitch}, {'i', s->instrument}, {'v', s->volume}, {'b', s->panning}})
                if (value != (letter == 'i' ? 0 : -1))
                    out += letter + std::to_string(value);
            if (s->effect.command != '.' || s->effect.parameter != 0)
                out += s->effect.command + std::to_string(s->effect.parameter);
        }
    }
    return out;
}

// Table cases are named by their first field.
struct CaseName {
    template <class Info>
    std::string operator()(const Info& info) const { return info.param.name; }
};

class RegionTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        song = makeSong();
        pattern = &song->patterns[0];
        pattern->setLength(16);
        region.speeds = [this](const TesselPattern&, int row) { return subrows.contains(row) ? subrows[row] : 1; };
        platform::clearStatusText();
    }
    void TearDown() override
    {
        platform::clearStatusText();
        ModuleTest::TearDown();
    }

    // Channels first..last by rows first..last, normalised.
    void selectBlock(int firstChannel, int firstRow, int lastChannel, int lastRow)
    {
        const auto at = [](int c, int r) { return TesselGridPosition{int16_t(c), 0, int16_t(r), 0}; };
        region.select(pattern, at(firstChannel, firstRow), at(lastChannel, lastRow));
    }

    std::unique_ptr<TesselModule> song;
    TesselPattern* pattern = nullptr;
    TesselSelection region;
    std::map<int, int> subrows;   // row -> subrows shown; 1 elsewhere
};
