// Checkpoints pushed and restored on a bare song, checked through the song's
// own markup.
#include "engine/engine_actions.h"
#include "model/module_test_support.h"
#include "model/scratch_folder.h"
#include "model/selection/selection.h"
#include "patterneditor/undo/undo_history.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <string>
#include <vector>

namespace {

std::vector<std::pair<int, int32_t>> loggedActions;

class UndoHistoryTest : public ModuleTest {
protected:
    void SetUp() override
    {
        ModuleTest::SetUp();
        loggedActions.clear();
        TesselEngineHooks::logAction = [](int action, int32_t value) { loggedActions.emplace_back(action, value); };
        song = makeSong();
        history = std::make_unique<TesselUndoHistory>(*song, [] { return TesselClockTime{12, 34}; });
    }
    void TearDown() override
    {
        TesselEngineHooks::logAction = nullptr;
        ModuleTest::TearDown();
    }

    std::string markup() { return writtenText([&](FILE* f) { song->writeXml(f, "", false); }); }
    TesselPattern& numbered(int i)
    {
        song->patterns[static_cast<size_t>(i)].index = i;
        return song->patterns[static_cast<size_t>(i)];
    }

    std::unique_ptr<TesselModule> song;
    std::unique_ptr<TesselUndoHistory> history;
};

TEST_F(UndoHistoryTest, RestoreGivesBackTheSongsBytesAndTogglesWithItsLabels)
{
    TesselPattern& pattern = numbered(3);
    pattern.setLabel("Hi");
    pattern.majorStep = 8;
    pattern.tracks.getTrack(2).getRow(5).pitch = 40;
    pattern.tracks.getTrack(9).getRow(0).subrowAt(2).pitch = 50;
    const std::string before = markup();

    ASSERT_TRUE(history->pushCheckpoint(pattern, "Transpose selection up."));
    TesselSelection region;
    region.select(&pattern, {0, 0, 0, 0}, {63, 0, 63, 0});
    region.transpose(kFieldPitch, 1, song->samples);
    pattern.majorStep = 4;
    const std::string edited = markup();
    ASSERT_NE(edited, before);

    const char* const cycle[] = {"003: Undo 'Transpose selection up.'", "003: Redo 'Transpose selection up.'"};
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(history->restoreCheckpoint(0), 3);
        EXPECT_EQ(markup(), i % 2 == 0 ? before : edited) << i;
        EXPECT_STREQ(history->label(0), cycle[i % 2]) << i;
    }
    EXPECT_EQ(loggedActions, (std::vector<std::pair<int, int32_t>>{
                                 {kActUndo, 0}, {kActRedo, 0}, {kActUndoRedo, 0}, {kActRedo, 0}}));
}

TEST_F(UndoHistoryTest, TwelfthPushDropsTheOldestWithItsLabel)
{
    EXPECT_STREQ(history->label(0), "000: Misc. Editing (12:34)");
    EXPECT_STREQ(history->label(1), "(empty)");
    for (int i = 1; i <= 11; ++i)
        history->pushCheckpoint(numbered(i), i == 11 ? "User Checkpoint" : "Edit.");
    EXPECT_STREQ(history->label(0), "011: User Checkpoint (12:34)");
    EXPECT_STREQ(history->label(10), "001: Edit.");
    EXPECT_EQ(history->snapshot(10).index, 1);
}

TEST_F(UndoHistoryTest, ClearingEmptiesEverySlotAndNothingRestores)
{
    for (int i = 1; i <= 3; ++i)
        history->pushCheckpoint(numbered(i), "Edit.");
    history->clear();
    for (int slot = 0; slot < TesselUndoHistory::kSlots; ++slot) {
        EXPECT_TRUE(history->isEmptySlot(slot)) << slot;
        EXPECT_TRUE(history->snapshot(slot).isUnused()) << slot;
    }
    const std::string before = markup();
    EXPECT_EQ(history->restoreCheckpoint(0), -1);
    EXPECT_EQ(markup(), before);
    history->pushCheckpoint(numbered(4), "Edit.");
    EXPECT_STREQ(history->label(0), "004: Edit.");
    EXPECT_TRUE(history->isEmptySlot(1));
}

TEST_F(UndoHistoryTest, NothingHappensWhileTheSongLockIsHeldElsewhere)
{
    song->patterns[0].tracks.getTrack(0).getRow(0).pitch = 10;
    const std::string song0 = markup();
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere holder(song->songLock());
        EXPECT_FALSE(history->pushCheckpoint(song->patterns[0], "Edit."));
        EXPECT_EQ(history->restoreCheckpoint(0), -1);
    }
    EXPECT_EQ(markup(), song0);
    EXPECT_STREQ(history->label(1), "(empty)");
    EXPECT_TRUE(loggedActions.empty());
}

TEST_F(UndoHistoryTest, RefusedRestoresChangeNothing)
{
    EXPECT_EQ(history->restoreCheckpoint(1), -1) << "an (empty) line";
    EXPECT_EQ(history->restoreCheckpoint(10), -1) << "the eleventh slot is not a line";
    TesselPattern stray;
    stray.index = 250;
    ASSERT_TRUE(history->pushCheckpoint(stray, "Stray."));
    EXPECT_EQ(history->restoreCheckpoint(0), -1);
    EXPECT_STREQ(history->label(2), "(empty)");
}

TEST_F(UndoHistoryTest, LabelsAreBoundedAndSnapshotsKeepOnlyContent)
{
    TesselPattern& pattern = numbered(4);
    for (int c = 0; c < 64; ++c)
        pattern.tracks.getTrack(c).getRow(c);   // empty rows in every track
    pattern.tracks.getTrack(7).getRow(3).volume = 9;
    ASSERT_TRUE(history->pushCheckpoint(pattern, std::string(100, 'x').c_str()));
    EXPECT_EQ(std::string(history->label(0)), "004: " + std::string(48, 'x'));

    const TesselPattern& snapshot = history->snapshot(0);
    for (int c = 0; c < 64; ++c)
        EXPECT_EQ(snapshot.tracks.trackAt(c) != nullptr, c == 7) << c;
    EXPECT_EQ(snapshot.tracks.trackAt(7)->rowAt(7), nullptr);
    EXPECT_EQ(snapshot.length(), pattern.length());

    // A restore's label of a label too short for its tail.
    EXPECT_STREQ(restoredLabel(1, "001: Undo").label.data(), "001: Redo ");
    EXPECT_STREQ(restoredLabel(7, "007").label.data(), "007: Undo ''");
}

} // namespace
