// Whatever changes a list's voices marks the list busy: blocks render only
// the marked lists, so a voice changed behind the mark's back would fall
// silent. The sanitizer builds (QB_AUDIO_CHECKS) check the rule before every
// block, so their whole suite runs under it; this breaks it on purpose and
// expects the check to stop the program.
#include "block_fixture.h"

namespace {

using BusyListRule = BlockTest;

TEST_F(BusyListRule, AVoiceChangedWithoutMarkingItsListStopsTheBlock)
{
#ifndef QB_AUDIO_CHECKS
    GTEST_SKIP() << "the audio checks are compiled into the sanitizer builds only (QB_AUDIO_CHECKS)";
#else
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    addInstrument(400000);
    addNote(5, 0);
    startSong();
    ASSERT_TRUE(engine->process(256));
    ASSERT_TRUE(engine->busyLists.marked(5));
    // The note sounds on; a change that forgot the mark leaves it like this.
    engine->busyLists.unmark(5);
    EXPECT_DEATH(engine->process(256), "voice list 5 changed without being marked busy");
    // Marked, the same block plays.
    engine->busyLists.mark(5);
    EXPECT_TRUE(engine->process(256));
#endif
}

} // namespace
