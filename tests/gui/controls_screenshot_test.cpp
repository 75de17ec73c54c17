// A side page holding one of each control, drawn buffered into the editor
// window as a person sees it (screenshots/controls.png).
#include "gui/controls/button_group.h"
#include "gui/controls/control_skin.h"
#include "gui/lists/drop_list.h"
#include "gui/lists/list_box.h"
#include "pagekit/list_entries.h"
#include "gui/controls/slider.h"
#include "model/instrument/instrument.h"
#include "model/sample/sample.h"
#include "page_fixture.h"
#include "platform/system/folders.h"

#include <memory>

namespace {

using platform::rgb;

constexpr uint32_t kSkin = tesselRgba(127, 143, 158);

class ControlsPage : public TestPage {
public:
    ControlsPage(const CRect& size, TesselEditorServices* editor)
        : TestPage(size, editor, CColor{38, 40, 45, 0}), list(CRect(6, 6, 446, 86)), slider(CRect(6, 110, 186, 121), 0, 127, 96),
          bar(CRect(456, 6, 466, 86)), buttons(196, 92, nullptr, 1)
    {
        for (int i = 0; i < 4; ++i) {
            TesselSample sample;
            sample.index = i;
            sample.setName(i == 2 ? "" : (std::string("Drum loop ") + char('A' + i)).c_str());
            sample.filename = "break.wav";
            sample.length = 22050 * (i + 1);
            sample.bits = 16;
            sample.fileRate = i == 1 ? 22050 : 44100;
            list.addEntry(sampleListEntry(sample));
        }
        auto strings = std::make_unique<TesselInstrument>();
        strings->index = 4;
        strings->reset();
        strings->setName("Strings");
        list.addEntry(instrumentListEntry(*strings));
        strings->midiOut = 1;
        strings->midiProgram = 48;
        list.addEntry(instrumentListEntry(*strings));
        list.addEntry({"(a greyed entry)", 0, TesselListBox::kGreyEntry, "", 0});
        for (int i = 0; i < 20; ++i)
            list.addEntry({"more " + std::to_string(i), 1, 0xFFFFFF, "", 0});
        list.layout();
        list.setColour(kSkin);
        list.setSelection(1);

        dropList = new TesselDropList(CRect(6, 92, 186, 103), nullptr, "");
        for (const char* text : {"Normal", "Faster"})
            dropList->addEntry(text);
        adoptDropList(dropList);

        slider.setColour(kSkin);
        bar.setColour(kSkin);
        bar.setCounts(40, 10);
        for (int i = 0; i < 3; ++i)
            buttons.addButton(i * 60, 0, i * 60 + 56, 18, 0, CColor{78, 82, 92, 0}, CColor{12, 12, 14, 0});
    }

    void draw(CDrawContext* context) override
    {
        TestPage::draw(context);
        const CPoint offset = context->getOffset();
        context->setOffset(CPoint(offset.h + size.left, offset.v + size.top));
        list.drawList(context, true);
        dropList->draw(context, 1, false);
        slider.draw(context, slider.value, true);
        bar.drawBar(context, 12);
        buttons.draw(context, buttons.value, true);
        context->setOffset(offset);
    }

    TesselListBox list;
    TesselDropList* dropList;
    TesselSlider slider;
    TesselScrollbar bar;
    TesselButtonGroup buttons;
};

} // namespace

TEST_F(PageTest, ControlsOnAPageAsAPersonSeesThem)
{
    auto* page = new ControlsPage(CRect(9, 43, 489, 173), &fake);
    page->setShown(true);
    frame2->addView(page);
    fake.current = page;
    page->redrawNow(page);

    const platform::Image& screen = frame2->getWindow()->image();
    auto at = [&screen](int32_t x, int32_t y) { return screen.pixelAt(9 + x, 43 + y); };
    EXPECT_EQ(at(420, 6 + 8 + 4), control_skin::kHighlight.toPlatform());   // the focused selection
    EXPECT_EQ(at(420, 6 + 4), control_skin::kListBackground.toPlatform());
    EXPECT_EQ(at(440, 6), rgb(127, 143, 158));        // the list's thumb
    EXPECT_EQ(at(456 + 5, 6 + 30), rgb(127, 143, 158));   // the bar's thumb at 12 of 40
    EXPECT_EQ(at(456 + 5, 6 + 20), rgb(63, 72, 81));
    EXPECT_EQ(at(196 + 60 + 10, 92 + 9), rgb(78, 82, 92));   // the chosen button's face
    EXPECT_EQ(at(196 + 60, 92), rgb(12, 12, 14));             // down: its frame round it
    EXPECT_EQ(at(196, 92), rgb(60, 96, 140));                 // highlighted: the highlight round it
    EXPECT_STREQ(page->dropList->shownText(), "Faster");
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(screen.writePng("screenshots/controls.png"));
}
