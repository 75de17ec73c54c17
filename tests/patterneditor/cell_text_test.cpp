// Cell texts: every field at its fixed place, whatever the cell holds.
#include "model/module_test_support.h"
#include "model/song/module.h"
#include "patterneditor/grid/cell_text.h"

#include <cstring>
#include <string>

namespace {

struct CellCase {
    const char* name;
    TesselSubrowData cell;
    uint8_t volumeMode;
    bool labels;
    const char* text;   // positions 1-13; '*' stands for the middle dot
};

TesselSubrowData cell(int16_t pitch, int16_t instrument = 0, int16_t volume = -1, char letter = '.',
                      int16_t parameter = 0, int16_t panning = -1, int16_t depth = -1)
{
    TesselSubrowData c;
    c.pitch = pitch;
    c.instrument = instrument;
    c.volume = volume;
    c.panning = panning;
    c.depth = depth;
    c.effect.command = letter;
    c.effect.parameter = parameter;
    return c;
}

std::string dotted(const char* text)
{
    std::string s(text);
    for (char& c : s)
        if (c == '*')
            c = kMiddleDot;
    return s;
}

class CellTexts : public ModuleTest, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CellTexts, FillFourteenFixedPlaces)
{
    auto song = makeSong();
    song->instruments[4].setLabel("Bd");
    song->instruments[5].setLabel("Q");
    song->instruments[6].setLabel("Abc");
    char text[kCellTextSize + 4];
    std::memset(text, 'x', sizeof text);
    const CellCase& c = GetParam();
    formatCellText(text, c.cell, {c.volumeMode, c.labels, song->instruments});
    EXPECT_EQ(text[0], 'x') << "position 0 is the caller's";
    EXPECT_EQ(std::string(text + 1), dotted(c.text));
    EXPECT_EQ(text[kCellTextLength], '\0');
    EXPECT_EQ(text[kCellTextSize], 'x') << "nothing is written past the terminator";
}

INSTANTIATE_TEST_SUITE_P(Table, CellTexts, ::testing::Values(
    CellCase{"Empty", cell(-1), 0, false, "*** ** ** .00"},
    CellCase{"MiddleC5", cell(60, 1, 64, 'D', 0x0F), 0, false, "C-5 01 64 D0F"},
    CellCase{"Sharp", cell(13, 99, 0, 'A', 0xFF), 0, false, "C#1 99 00 AFF"},
    CellCase{"HighestNote", cell(119), 0, false, "B-9 ** ** .00"},
    CellCase{"NoteCut", cell(254), 0, false, "^^^ ** ** .00"},
    CellCase{"NoteOff", cell(255), 0, false, "=== ** ** .00"},
    CellCase{"PitchOutOfRange", cell(130), 0, false, "??? ** ** .00"},
    CellCase{"NegativePitch", cell(-7), 0, false, "??? ** ** .00"},
    CellCase{"Label", cell(60, 5), 0, true, "C-5 Bd ** .00"},
    CellCase{"ShortLabel", cell(60, 6), 0, true, "C-5 Q  ** .00"},
    CellCase{"LongLabelCut", cell(60, 7), 0, true, "C-5 Ab ** .00"},
    CellCase{"DefaultLabelIsTheNumber", cell(60, 12), 0, true, "C-5 12 ** .00"},
    CellCase{"NumbersInsteadOfLabels", cell(60, 5), 0, false, "C-5 05 ** .00"},
    CellCase{"InstrumentOver99", cell(60, 100), 0, false, "C-5 ?? ** .00"},
    CellCase{"InstrumentOver99Labels", cell(60, 300), 0, true, "C-5 ?? ** .00"},
    CellCase{"NegativeInstrument", cell(60, -3), 0, false, "C-5 ?? ** .00"},
    CellCase{"PanningMode", cell(-1, 0, 40, '.', 0, 12), 1, false, "*** ** 12 .00"},
    CellCase{"PanningModeEmpty", cell(-1, 0, 40), 1, false, "*** ** ** .00"},
    CellCase{"DepthMode", cell(-1, 0, 40, '.', 0, 12, 3), 2, false, "*** ** 03 .00"},
    CellCase{"VolumeOver99", cell(-1, 0, 150), 0, false, "*** ** ?? .00"},
    CellCase{"ParameterOver255", cell(-1, 0, -1, 'Z', 300), 0, false, "*** ** ** Z??"},
    CellCase{"NegativeParameter", cell(-1, 0, -1, 'Z', -1), 0, false, "*** ** ** Z??"},
    CellCase{"UnprintableLetter", cell(-1, 0, -1, '\x01', 1), 0, false, "*** ** ** ?01"},
    CellCase{"DigitLetter", cell(-1, 0, -1, '7', 0x7F), 0, false, "*** ** ** 77F"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CellText, EmptyTextHasItsBlankAtPositionZero)
{
    EXPECT_EQ(std::string(emptyCellText().data()), " " + dotted("*** ** ** .00"));
    EXPECT_STREQ(noteName(0), "C-");
    EXPECT_STREQ(noteName(11), "B-");
    EXPECT_STREQ(noteName(-1), "B-");
}

} // namespace
