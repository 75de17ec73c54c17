// The instrument list page through the plug-in's editor: the list's label
// keys, swaps in the list and the patterns, the clipboard's second presses,
// the envelope tabs' nodes and loops, the MIDI panel and auditions.

#include "instrument_page_fixture.h"

#include "editor/instrument_list/instrument_list_edit.h"
#include "engine/midi/fake_midi.h"
#include "pagekit/envelope_graph.h"
#include "support/lock_held_elsewhere.h"
#include "support/short_edit_lock_wait.h"

#include <cstdlib>

namespace {

using namespace platform;

std::string patternsMarkup(const TesselModule& song)
{
    char* text = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&text, &size);
    for (const TesselPattern& pattern : song.patterns)
        pattern.writeXml(file);
    std::fclose(file);
    std::string markup(text, size);
    std::free(text);
    return markup;
}

TEST_F(InstrumentPageTest, TheGraveAccentTogglesLabelsAndSwapsReachEverySubrow)
{
    instrument(1).setName("Piano");
    instrument(2).setName("Bass");
    TesselTrack& track = song().patterns[0].tracks.getTrack(3);
    TesselRow& first = track.getRow(4);
    first.pitch = 60;
    first.instrument = 1;
    TesselSubrow later(2);
    later.instrument = 2;
    first.setSubrow(2, later);
    track.getRow(5).instrument = 2;
    track.getRow(6).instrument = 3;
    openPage();

    // On a label place the grave accent switches labels and numbers only.
    press(kWinHome);
    repeat(kWinLeft, 3);
    ASSERT_EQ(page().nameCursor(), -2);
    type("`");
    EXPECT_EQ(status(), "Use numbers to identify instruments.");
    type("`");
    EXPECT_EQ(status(), "Use labels to identify instruments.");
    EXPECT_STREQ(instrument(1).label, "01");

    chord({kWinMenu}, 'S');
    ASSERT_TRUE(page().swapPopup().isShown());
    type("02");
    press(kWinReturn);
    EXPECT_EQ(status(), "Instrument 01 and 02 swapped in instrument list and patterns.");
    EXPECT_FALSE(page().swapPopup().isShown());
    EXPECT_EQ(instrument(1).nameText().substr(0, 4), "Bass");
    EXPECT_EQ(instrument(2).nameText().substr(0, 5), "Piano");
    EXPECT_STREQ(instrument(1).label, "01");   // numbers stay with their slots
    EXPECT_EQ(track.rowAt(4)->instrument, 2);
    EXPECT_EQ(track.rowAt(4)->findSubrow(2)->instrument, 1);
    EXPECT_EQ(track.rowAt(5)->instrument, 1);
    EXPECT_EQ(track.rowAt(6)->instrument, 3);

    const std::string before = patternsMarkup(song());
    chord({kWinMenu}, 'X');
    type("02");
    press(kWinReturn);
    EXPECT_EQ(status(), "Instrument 01 and 02 swapped in instrument list.");
    EXPECT_EQ(patternsMarkup(song()), before);
    EXPECT_EQ(instrument(1).nameText().substr(0, 5), "Piano");

    // A label that names no instrument leaves the popup open for another.
    chord({kWinMenu}, 'X');
    type("zq");
    press(kWinReturn);
    EXPECT_EQ(status(), "Instrument 'zq' not found.");
    EXPECT_TRUE(page().swapPopup().isShown());
    press(kWinEscape);
    EXPECT_FALSE(page().swapPopup().isShown());
    EXPECT_EQ(pageNumber(), kInstrumentListPage);
}

TEST_F(InstrumentPageTest, APastePromptAndADeleteConfirmOnlyTheSlotTheyAskedAbout)
{
    instrument(2).setName("Bass");
    instrument(3).setName("Drums");
    instrument(7).setName("Flute");
    openPage();
    press(kWinDown);
    chord({kWinMenu}, 'C');
    EXPECT_EQ(status(), "Instrument copied to clipboard.");
    press(kWinUp);
    chord({kWinMenu}, 'P');   // instrument 1 is empty: no question
    EXPECT_EQ(status(), "Instrument pasted from clipboard.");
    EXPECT_EQ(instrument(1).nameText().substr(0, 4), "Bass");
    EXPECT_STREQ(instrument(1).label, "01");

    press(kWinDown);
    press(kWinDown);
    windows.injectKey(kWinMenu, true);
    press(kWinDelete);
    EXPECT_EQ(status(), "Press Alt-Delete again to delete current instrument...");
    click(100, 21 + 8 * 6 + 3);   // instrument 7
    ASSERT_EQ(page().current(), 6);
    press(kWinDelete);   // a second press, but for another slot: asked again
    EXPECT_EQ(status(), "Press Alt-Delete again to delete current instrument...");
    EXPECT_EQ(instrument(7).nameText().substr(0, 5), "Flute");
    press(kWinDelete);
    windows.injectKey(kWinMenu, false);
    idle();
    EXPECT_EQ(status(), "Instrument deleted.");
    EXPECT_TRUE(instrument(7).isEmpty());
    EXPECT_EQ(instrument(3).nameText().substr(0, 5), "Drums");

    // With the song lock held elsewhere a name edit is dropped.
    click(100, 21 + 8 * 2 + 3);
    press(kWinHome);
    {
        ShortEditLockWait shortWait;
        LockHeldElsewhere held(song().songLock());
        type("x");
    }
    EXPECT_EQ(instrument(3).nameText().substr(0, 5), "Drums");
    press(kWinHome);
    type("x");
    EXPECT_EQ(instrument(3).nameText().substr(0, 6), "xDrums");
}

TEST_F(InstrumentPageTest, EnvelopeTabsAddNodesAndKeepTheirLoopsInside)
{
    openPage();
    press(kF4);
    ASSERT_EQ(page().tab(), TesselInstrumentListUI::kVolume);
    press(kWinTab);   // the graph
    press(kWinInsert);
    press(kWinInsert);
    const TesselEnvelope& envelope = instrument(1).volumeEnvelope();
    ASSERT_EQ(envelope.count(), 2);
    EXPECT_EQ(envelope.node(0).tick, 0);
    EXPECT_EQ(envelope.node(0).value, 64);
    EXPECT_EQ(envelope.node(1).tick, 1);

    const CRect graph = *page().graph().getRect();
    windows.injectKey(kWinControl, true);
    click(graph.left + 300, graph.top + 60);
    windows.injectKey(kWinControl, false);
    idle();
    ASSERT_EQ(envelope.count(), 3);
    EXPECT_GT(envelope.node(2).tick, 1);

    press(kWinTab);   // envelope on
    press(kWinDown);
    press(kWinDown);   // loop type
    press(kWinRight);
    EXPECT_EQ(envelope.loop.type, 1);
    press(kWinDown);
    press(kWinDown);   // loop end: past the last node, cut to it
    type("009");
    EXPECT_EQ(envelope.loop.end, 2);
    press(kWinUp);   // loop begin
    type("002");
    EXPECT_EQ(envelope.loop.begin, 2);
    EXPECT_EQ(envelope.loop.type, 1);
    press(kWinDown);
    press(kWinHome);
    type("001");
    EXPECT_EQ(status(), "Invalid loop: loop start is greater than loop end. Loop disabled.");
    EXPECT_EQ(envelope.loop.type, 0);
    EXPECT_EQ(envelope.loop.end, 1);
    EXPECT_TRUE(instrument(2).volumeEnvelope().isEmpty());
}

TEST_F(InstrumentPageTest, ANoteFromTheListStopsOnItsReleaseAfterTheFocusMoved)
{
    openPage();
    ASSERT_EQ(page().nameCursor(), TesselInstrumentListUI::kNoNameCursor);
    windows.injectKey('Q', true);
    idle();
    EXPECT_NE(engine().heldNotes[1][60], 0);
    press(kWinTab);
    ASSERT_EQ(page().field(), 1);
    windows.injectKey('Q', false);
    idle();
    EXPECT_EQ(engine().heldNotes[1][60], 0);
}

class InstrumentMidiTest : public InstrumentPageTest {
protected:
    void SetUp() override
    {
        TesselEngine::makeMidiOut = [] {
            return std::make_unique<TesselMidiOut>(std::make_unique<FakeMidiPorts>(
                                                       std::vector<std::string>{"Synth A", "Synth B"}),
                                                   [] { return std::make_unique<FakeTimerQueue>(); });
        };
        InstrumentPageTest::SetUp();
    }
    void TearDown() override
    {
        InstrumentPageTest::TearDown();
        TesselEngine::makeMidiOut = nullptr;
    }
};

TEST_F(InstrumentMidiTest, ThePanelStoresItsFieldsAndThePortChoiceItsNumber)
{
    openPage();
    repeat(kF4, 3);
    ASSERT_EQ(page().tab(), TesselInstrumentListUI::kPitch);
    repeat(kWinTab, 4);
    ASSERT_EQ(page().field(), 11);
    press(kWinReturn);
    ASSERT_TRUE(page().midiPanel().isOpen());
    repeat(kWinDown, 2);
    type("50");
    EXPECT_EQ(instrument(1).midiDefaultVelocity, 50);
    repeat(kWinUp, 3);   // field 0 wraps to 12, Tab back to 0
    EXPECT_EQ(page().midiPanel().focusedField(), 12);
    press(kWinTab);
    EXPECT_EQ(page().midiPanel().focusedField(), 0);
    press(kWinEscape);
    EXPECT_FALSE(page().midiPanel().isOpen());
    EXPECT_EQ(pageNumber(), kInstrumentListPage);

    repeat(kWinDown, 5);
    ASSERT_EQ(page().field(), 16);
    press(kWinRight);
    EXPECT_STREQ(instrument(1).midiOutPort, "Synth A");
    EXPECT_EQ(instrument(1).midiPortNumber, 1);
    EXPECT_NE(instrumentMarkup(instrument(1)).find("Synth A"), std::string::npos);

    // The panel closes when another instrument becomes current.
    repeat(kWinUp, 5);
    press(kWinReturn);
    ASSERT_TRUE(page().midiPanel().isOpen());
    click(100, 21 + 8 * 1 + 3);
    EXPECT_EQ(page().current(), 1);
    EXPECT_FALSE(page().midiPanel().isOpen());
    EXPECT_EQ(instrument(1).midiDefaultVelocity, 50);
}

} // namespace
