// Note and digit entry through the editor's key road: notes with the
// octave, instrument, volume and effect digits, note off and cut, the
// cursor increment, the octave digit, the column marks and the cursor keys.
#include "pattern_page_fixture.h"

#include "platform/status_text.h"

namespace {

using namespace platform;

TEST_F(PatternPageTest, QWritesTheOctavesCAndStepsTheCursor)
{
    ASSERT_EQ(editor->octave(), 4);
    type("q");
    EXPECT_EQ(cell(0, 0).pitch, 60);   // C-5
    EXPECT_EQ(cell(0, 0).instrument, 1);
    EXPECT_EQ(view().cursorRow, 1);
    // The two keyboard rows, and E-2 at the top of the upper one.
    type("z2p");
    EXPECT_EQ(cell(0, 1).pitch, 48);
    EXPECT_EQ(cell(0, 2).pitch, 61);
    EXPECT_EQ(cell(0, 3).pitch, 76);
    // Note off, cut and clear; each steps the cursor.
    type("`1.");
    EXPECT_EQ(cell(0, 4).pitch, 255);
    EXPECT_EQ(cell(0, 5).pitch, 254);
    EXPECT_EQ(cell(0, 6).pitch, -1);
    EXPECT_EQ(view().cursorRow, 7);
    EXPECT_EQ(std::string(grid().cellText(0, 4).data() + 1, 3), "===");
}

TEST_F(PatternPageTest, DigitsFillTheInstrumentVolumeAndEffectFields)
{
    type("q");
    const struct {
        int column;
        std::string keys;
        int instrument;
        int volume;
        char letter;
        int parameter;
    } cases[] = {
        {2, "12", 12, -1, '.', 0},
        {2, "99", 99, -1, '.', 0},
        {4, "3", 99, 30, '.', 0},      // an empty volume counts from 0, not -1
        {4, "4", 99, 40, '.', 0},      // the second digit of a 4
        {4, "69", 99, 64, '.', 0},     // at most 64
        {6, "d", 99, 64, 'D', 0},
        {7, "0f", 99, 64, 'D', 0x0F},
        {7, "a", 99, 64, 'D', 0xAF},
    };
    for (const auto& c : cases) {
        moveCursor(0, c.column, 0);
        type(c.keys);
        EXPECT_EQ(cell(0, 0).instrument, c.instrument) << c.keys;
        EXPECT_EQ(cell(0, 0).volume, c.volume) << c.keys;
        EXPECT_EQ(cell(0, 0).effect.command, c.letter) << c.keys;
        EXPECT_EQ(cell(0, 0).effect.parameter, c.parameter) << c.keys;
    }
    EXPECT_EQ(editor->currentInstrument(), 99);   // follows the typed instrument
}

TEST_F(PatternPageTest, TheOctaveDigitMovesOnlyNotes)
{
    type("q`1");   // C-5, note off, note cut
    for (int row = 0; row < 3; ++row) {
        moveCursor(0, 1, row);
        type("2");
    }
    EXPECT_EQ(cell(0, 0).pitch, 24);   // C-2
    EXPECT_EQ(cell(0, 1).pitch, 255);
    EXPECT_EQ(cell(0, 2).pitch, 254);
    moveCursor(0, 1, 5);
    type("7");
    EXPECT_EQ(cell(0, 5).pitch, -1);   // nothing to move
}

TEST_F(PatternPageTest, AltDigitSetsTheCursorIncrement)
{
    alt('3');
    EXPECT_EQ(platform::statusText(), "Cursor Increment set to 3.");
    type("qw");
    EXPECT_EQ(cell(0, 0).pitch, 60);
    EXPECT_EQ(cell(0, 3).pitch, 62);
    EXPECT_EQ(view().cursorRow, 6);
    chord({kWinMenu, kWinShift}, '2');
    EXPECT_EQ(platform::statusText(), "Cursor Increment set to 12.");
    alt('0');
    type("e");
    EXPECT_EQ(view().cursorChannel, 1);   // an increment of 0 moves to the next channel
    EXPECT_EQ(view().cursorRow, 6);
}

TEST_F(PatternPageTest, TransposingTheCursorCellWithoutASelectionMovesOnlyNotes)
{
    type("q`");
    writable(0, 2).pitch = 119;
    const struct {
        int row;
        uint8_t key;
        bool octave;
        int pitch;
    } cases[] = {
        {0, 'Q', false, 61}, {0, 'A', true, 49}, {1, 'Q', false, 255}, {2, 'Q', true, 119}, {3, 'Q', false, -1},
    };
    for (const auto& c : cases) {
        moveCursor(0, 0, c.row);
        if (c.octave)
            chord({kWinMenu, kWinShift}, c.key);
        else
            alt(c.key);
        EXPECT_EQ(cell(0, c.row).pitch, c.pitch) << c.row;
    }
}

TEST_F(PatternPageTest, ColumnMarksCopyTheLastValuesIntoNewNotes)
{
    moveCursor(0, 4, 0);
    type("48");
    moveCursor(0, 6, 0);
    type("a");
    moveCursor(0, 4, 1);
    type(",");   // the volume's mark
    moveCursor(0, 6, 1);
    type(",");   // the letter's
    moveCursor(0, 0, 1);
    type("q");
    EXPECT_EQ(cell(0, 1).volume, 48);
    EXPECT_EQ(cell(0, 1).effect.command, 'A');
    // Cleared, the instrument's mark leaves the instrument out.
    moveCursor(0, 2, 2);
    type(",");
    moveCursor(0, 0, 2);
    type("w");
    EXPECT_EQ(cell(0, 2).instrument, 0);
    EXPECT_EQ(cell(0, 2).pitch, 62);
}

TEST_F(PatternPageTest, CursorKeysInsertsAndDeletes)
{
    type("qwe");
    moveCursor(0, 0, 1);
    press(kWinInsert);
    EXPECT_EQ(cell(0, 1).pitch, -1);
    EXPECT_EQ(cell(0, 2).pitch, 62);
    press(kWinDelete);
    EXPECT_EQ(cell(0, 1).pitch, 62);
    press(kWinBack);   // the row above goes
    EXPECT_EQ(view().cursorRow, 0);
    EXPECT_EQ(cell(0, 0).pitch, 62);
    const struct {
        uint8_t key;
        std::initializer_list<uint8_t> held;
        int channel;
        int column;
        int row;
    } moves[] = {
        {kWinRight, {}, 0, 1, 0},           {kWinTab, {}, 1, 0, 0},      {kWinRight, {kWinShift}, 2, 0, 0},
        {kWinEnd, {}, 2, 8, 0},             {kWinEnd, {}, 63, 8, 0},     {kWinEnd, {}, 63, 8, 63},
        {kWinHome, {}, 63, 0, 63},          {kWinHome, {}, 0, 0, 63},    {kWinHome, {}, 0, 0, 0},
        {kWinNext, {}, 0, 0, 16},           {kWinDown, {kWinMenu}, 0, 0, 17}, {kWinPrior, {}, 0, 0, 1},
    };
    for (const auto& m : moves) {
        chord(m.held, m.key);
        EXPECT_EQ(view().cursorChannel, m.channel) << int(m.key);
        EXPECT_EQ(view().cursorColumn, m.column) << int(m.key);
        EXPECT_EQ(view().cursorRow, m.row) << int(m.key);
    }
}

TEST_F(PatternPageTest, EightPlaysTheRowAtTheNoteColumnOnly)
{
    type("q");
    moveCursor(0, 0, 0);
    type("8");
    EXPECT_EQ(platform::statusText(), "Playing (Row: 0 / Pattern: 0)");
    EXPECT_EQ(view().cursorRow, 1);
    EXPECT_EQ(cell(0, 0).pitch, 60);
    moveCursor(0, 2, 0);
    type("8");
    EXPECT_EQ(cell(0, 0).instrument, 81);   // elsewhere a digit like any other
}

} // namespace
