// A page as a person sees it: a popup page over the pattern editor with a
// raised display, a sunken option menu, bitmap text, the small digits and
// its close box, drawn buffered at double size; written to screenshots/.
#include "gui/bitmap_text.h"
#include "gui/option_menu.h"
#include "gui/tessel_font.h"
#include "page_fixture.h"
#include "platform/folders.h"
#include "resources/resource_ids.h"

namespace {

class ShowcasePage : public TestPage {
public:
    ShowcasePage(const CRect& size, TesselEditorServices* editor)
        : TestPage(size, editor, CColor{60, 70, 90, 0}), font_(resources::kFontAmber, 8),
          display_(new CParamDisplay(CRect(size.left + 10, size.top + 30, size.left + 90, size.top + 46), nullptr,
                                     VSTGUI::k3DOut | VSTGUI::kShadowText)),
          menu_(new COptionMenu(CRect(size.left + 100, size.top + 30, size.left + 190, size.top + 46), nullptr, 0,
                                nullptr, nullptr, VSTGUI::k3DIn))
    {
        display_->setBackColor(CColor{90, 100, 120, 0});
        display_->setFrameColor(CColor{200, 210, 230, 0});
        display_->setValue(0.75f);
        menu_->setBackColor(CColor{30, 30, 40, 0});
        menu_->setFrameColor(CColor{150, 150, 170, 0});
        menu_->setPrefixNumbers(3);
        for (const char* text : {"Sine", "Square", "Saw"})
            menu_->addEntry(text);
        menu_->setCurrent(1);
    }
    ~ShowcasePage() override
    {
        display_->forget();
        menu_->forget();
    }
    void draw(CDrawContext* context) override
    {
        TestPage::draw(context);
        drawBitmapText(context, "Quorbel page", size.left + 10, size.top + 4, &font_);
        display_->draw(context);
        menu_->draw(context);
        drawSmallNumber(context, 1.74f, size.right - 10, size.bottom - 12);
    }

private:
    TesselFont font_;
    CParamDisplay* display_;
    COptionMenu* menu_;
};

} // namespace

TEST_F(PageTest, APopupPageAtDoubleSizeAsAPersonSeesIt)
{
    auto* page = new ShowcasePage(CRect(20, 20, 220, 90), &fake);
    page->setShown(true);
    frame2->addView(page);
    fake.twice = true;
    frame2->drawPage(page);
    const platform::Image& screen = frame2->getWindow()->image();
    // The page's fill at twice its place, the pattern editor around it.
    EXPECT_EQ(screen.pixelAt(2 * 21, 2 * 60), platform::rgb(60, 70, 90));
    EXPECT_EQ(screen.pixelAt(2 * 21 + 1, 2 * 60 + 1), platform::rgb(60, 70, 90));
    EXPECT_EQ(screen.pixelAt(2 * 300, 2 * 200), platform::rgb(20, 20, 20));
    // The raised display's top edge and the sunken menu's.
    EXPECT_EQ(screen.pixelAt(2 * 50, 2 * 50), platform::rgb(200, 210, 230));
    EXPECT_EQ(screen.pixelAt(2 * 150, 2 * 50), platform::rgb(30, 30, 40));
    ASSERT_TRUE(platform::makeFolders("screenshots"));
    EXPECT_TRUE(screen.writePng("screenshots/page_base.png"));
}
