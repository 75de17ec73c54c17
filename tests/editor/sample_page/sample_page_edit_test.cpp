// The sample page's keys and clicks on the song: the clipboard with its
// prompts, deleting, names, loop points, the normaliser, auditions and the
// song lock held elsewhere.

#include "sample_page_fixture.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

namespace {

using namespace platform;

constexpr int32_t kListRowX = 100;
// A page point on the panel beside every control.
constexpr int32_t kEmptyX = 650;
constexpr int32_t kEmptyY = 400;

int32_t rowY(int32_t row)
{
    return 21 + 8 * row + 3;
}

TEST_F(SamplePageTest, CopyMoveAndPasteWithThePromptOnAUsedSlot)
{
    openPage();
    fillSlot(0, "Kick", 400, 1, 16, 1000.0f);
    fillSlot(2, "Snare", 300, 2, 16, 500.0f);

    chord({kWinMenu}, 'P');
    EXPECT_EQ(statusText(), "Sample not pasted: clipboard is empty.");
    chord({kWinMenu}, 'C');
    EXPECT_EQ(statusText(), "Sample copied to clipboard.");
    EXPECT_EQ(page()->clipboardMarker(), 0);
    press(kWinDown);   // to the empty slot 2: one press pastes
    EXPECT_EQ(editor->currentSample(), 2);
    chord({kWinMenu}, 'P');
    EXPECT_EQ(statusText(), "Sample pasted from clipboard.");
    EXPECT_EQ(contents(1).substr(contents(1).find("name")), contents(0).substr(contents(0).find("name")));

    // Slot 3 is used: the first press asks; after a click the next press
    // asks again, though Alt stayed down; then a second press pastes.
    press(kWinDown);
    const std::string snare = contents(2);
    windows.injectKey(kWinMenu, true);
    press('P');
    EXPECT_EQ(statusText(), "Press Alt-p again to overwrite current sample...");
    clickPage(kEmptyX, kEmptyY);
    press('P');
    EXPECT_EQ(statusText(), "Press Alt-p again to overwrite current sample...");
    EXPECT_EQ(contents(2), snare);
    press('P');
    windows.injectKey(kWinMenu, false);
    idle();
    EXPECT_EQ(statusText(), "Sample pasted from clipboard.");
    EXPECT_EQ(slot(2).nameText().substr(0, 4), "Kick");
    EXPECT_EQ(slot(2).length, 400);
}

TEST_F(SamplePageTest, ASecondDeletePressErasesOnlyTheSlotItWasAskedFor)
{
    openPage();
    fillSlot(2, "Three", 100, 1, 8, 100.0f);
    fillSlot(6, "Seven", 100, 1, 8, 100.0f);
    press(kWinDown);
    press(kWinDown);
    windows.injectKey(kWinMenu, true);
    press(kWinDelete);
    EXPECT_EQ(statusText(), "Press Alt-Delete again to delete current sample...");
    clickPage(kListRowX, rowY(6));   // slot 7
    EXPECT_EQ(editor->currentSample(), 7);
    const std::string seven = contents(6);
    press(kWinDelete);   // Alt still held: a second press, but for another slot
    EXPECT_EQ(contents(6), seven);
    EXPECT_FALSE(slot(2).isEmpty());

    press(kWinDelete);
    windows.injectKey(kWinMenu, false);
    idle();
    EXPECT_EQ(statusText(), "Sample deleted.");
    EXPECT_TRUE(slot(6).isEmpty());
    EXPECT_FALSE(slot(2).isEmpty());
}

TEST_F(SamplePageTest, TheNameEditsInPlaceAndSelectionKeysWriteNothing)
{
    openPage();
    fillSlot(0, "ABCDEFGHIJKLMNOPQRSTUVWXY", 100, 1, 16, 10.0f);
    const float* audio = slot(0).audio.buffers[0];
    // Moves write nothing back: the slot keeps its very buffers.
    for (uint8_t key : {kWinDown, kWinUp, kWinHome, kWinRight, kWinLeft, kWinRight})
        press(key);
    EXPECT_EQ(slot(0).audio.buffers[0], audio);
    EXPECT_EQ(page()->nameCursor(), 1);

    press('Z');   // inserted at 1; the 25th character drops off
    EXPECT_EQ(slot(0).nameText(), "AzBCDEFGHIJKLMNOPQRSTUVWX");
    press(kWinHome);
    press(kWinBack);   // nothing before the first character
    EXPECT_EQ(slot(0).nameText(), "AzBCDEFGHIJKLMNOPQRSTUVWX");
    press(kWinDelete);
    EXPECT_EQ(slot(0).nameText(), "zBCDEFGHIJKLMNOPQRSTUVWX ");
    EXPECT_EQ(slot(0).length, 100);   // the audio came back with the name

    // Home at 0 selects the first, End at 25 the last, Page Down stops at 99.
    press(kWinEnd);
    press(kWinEnd);
    EXPECT_EQ(editor->currentSample(), 99);
    press(kWinNext);
    EXPECT_EQ(editor->currentSample(), 99);
    EXPECT_GE(page()->firstVisibleRow(), 49);
}

TEST_F(SamplePageTest, LoopPointsAreCutToTheLengthAndAnEndBelowTheBeginStopsTheLoop)
{
    openPage();
    fillSlot(0, "Loop", 1000, 1, 16, 10.0f);
    slot(0).loop.type = 1;
    slot(0).loop.setBegin(100);
    slot(0).loop.setEnd(900);
    press(kWinTab);    // file name
    for (int i = 0; i < 4; ++i)
        press(kWinDown);   // speed, loop type, begin, end
    ASSERT_EQ(page()->focusedField(), TesselSampleFields::kLoopEnd);
    press(kWinHome);
    for (char digit : std::string("000050"))
        press(static_cast<uint8_t>(digit));
    EXPECT_EQ(slot(0).loop.end, 50);
    EXPECT_EQ(slot(0).loop.workingEnd.frame, 50);
    EXPECT_EQ(slot(0).loop.type, 0);

    press(kWinUp);   // begin: beyond the length it is cut
    press(kWinHome);
    for (char digit : std::string("009999"))
        press(static_cast<uint8_t>(digit));
    EXPECT_EQ(slot(0).loop.begin, 1000);
    EXPECT_EQ(slot(0).loop.workingBegin.frame, 1000);
}

TEST_F(SamplePageTest, AltMAndEnterNormaliseWithBothTexts)
{
    openPage();
    fillSlot(0, "Quiet", 500, 2, 16, 1200.0f);
    const float quiet = slot(0).peak();
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere lock(engine().song.songLock());
        chord({kWinMenu}, 'M');
        ASSERT_TRUE(page()->normalisePopup().isShown());
        press(kWinReturn);
        EXPECT_EQ(statusText(), "Normalising sample...");   // and never "completed"
        EXPECT_EQ(slot(0).peak(), quiet);
    }
    chord({kWinMenu}, 'M');
    press(kWinReturn);
    EXPECT_FALSE(page()->normalisePopup().isShown());
    EXPECT_EQ(statusText(), "Normalising sample... completed.");
    EXPECT_NEAR(slot(0).peak(), 32767.0f, 0.5f);
    int32_t highest = 0;
    for (const TesselOverviewPair& column : slot(0).overview[0])
        highest = std::max(highest, column.high);
    EXPECT_EQ(highest, 50);   // the overview rebuilt at full scale

    // Escape closes the popup without a choice.
    chord({kWinMenu}, 'M');
    press(kWinEscape);
    EXPECT_FALSE(page()->normalisePopup().isShown());
    EXPECT_NEAR(slot(0).peak(), 32767.0f, 0.5f);
}

TEST_F(SamplePageTest, WithTheSongLockHeldElsewhereAnEditChangesNothing)
{
    openPage();
    fillSlot(0, "Held", 100, 1, 16, 10.0f);
    const std::string before = contents(0);
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere lock(engine().song.songLock());
        press(kWinHome);
        press('X');
        holdingAlt({kWinDelete, kWinDelete});
    }
    EXPECT_EQ(contents(0), before);
}

TEST_F(SamplePageTest, ANoteKeyPlaysTheSampleUntilItsReleaseInTheListAndInALoopField)
{
    openPage();
    fillSlot(0, "Tone", 20000, 1, 16, 1000.0f);
    const int32_t note = editor->noteFromKey(charKey('q'));
    ASSERT_GE(note, 0);
    for (bool loopField : {false, true}) {
        if (loopField) {
            press(kWinTab);
            for (int i = 0; i < 3; ++i)
                press(kWinDown);
            ASSERT_EQ(page()->focusedField(), TesselSampleFields::kLoopBegin);
        }
        windows.injectKey('Q', true);
        idle();
        EXPECT_NE(engine().heldNotes[0][note], 0) << loopField;
        // An octave change while the key is down: the release still stops it.
        editor->setOctave(editor->octave() + 1);
        windows.injectKey('Q', false);
        idle();
        EXPECT_EQ(engine().heldNotes[0][note], 0) << loopField;
        editor->setOctave(editor->octave() - 1);
    }
    EXPECT_EQ(slot(0).loop.begin, 0);   // the note key wrote nothing
}

} // namespace
