// Ownership by hand-kept counts; the sanitizer build catches a double delete
// or a use after free here.

#include "gui/bitmap.h"
#include "gui/tessel_font.h"
#include "gui_fixture.h"

namespace {

// Counts its deletions, so a test sees exactly when a count reached zero.
class CountedView : public CView {
public:
    CountedView(int* deleted, std::vector<std::string>* calls = nullptr)
        : CView(CRect(0, 0, 10, 10)), deleted_(deleted), calls_(calls)
    {
    }
    ~CountedView() override { ++*deleted_; }
    bool removed(CView* parent) override
    {
        if (calls_)
            calls_->push_back("removed");
        return CView::removed(parent);
    }

private:
    int* deleted_;
    std::vector<std::string>* calls_;
};

// A bitmap whose own destruction forgets it once more, as an owner being torn
// down with it would.
class SelfForgettingBitmap : public CBitmap2 {
public:
    explicit SelfForgettingBitmap(int* deleted) : CBitmap2(24, 4, 4), deleted_(deleted) {}
    ~SelfForgettingBitmap() override
    {
        forget();
        ++*deleted_;
    }

private:
    int* deleted_;
};

class ReferenceCountTest : public GuiTest {};

TEST_F(ReferenceCountTest, TheFrameTakesTheCreatorsReferenceAndForgetsItAtTheEnd)
{
    int deleted = 0;
    {
        CFrame frame(CRect(0, 0, 100, 100), host.get(), &editor);
        auto* view = new CountedView(&deleted);
        ASSERT_TRUE(frame.addView(view));
        EXPECT_EQ(view->getNbReference(), 1);
        EXPECT_EQ(view->getFrame(), &frame);
    }
    EXPECT_EQ(deleted, 1);
}

TEST_F(ReferenceCountTest, PagesTakenOutOfTheFrameOutliveIt)
{
    int deleted = 0;
    std::vector<std::string> calls;
    auto* page = new CountedView(&deleted, &calls);
    auto* kept = new CountedView(&deleted);
    kept->remember();
    {
        CFrame frame(CRect(0, 0, 100, 100), host.get(), &editor);
        frame.addView(page);
        frame.addView(kept);
        EXPECT_TRUE(frame.removeView(page, false));
        EXPECT_EQ(calls, std::vector<std::string>{"removed"});
        // Not a child any more: a second removal does nothing.
        EXPECT_FALSE(frame.removeView(page, true));
        EXPECT_EQ(calls.size(), 1u);
        EXPECT_EQ(frame.getNbViews(), 1);
    }
    EXPECT_EQ(deleted, 0);
    EXPECT_EQ(kept->getNbReference(), 1);
    page->forget();
    kept->forget();
    EXPECT_EQ(deleted, 2);
}

TEST_F(ReferenceCountTest, RemoveAllWithoutForgettingKeepsEveryView)
{
    int deleted = 0;
    auto* a = new CountedView(&deleted);
    auto* b = new CountedView(&deleted);
    CFrame frame(CRect(0, 0, 100, 100), host.get(), &editor);
    frame.addView(a);
    frame.addView(b);
    frame.removeAll(false);
    EXPECT_EQ(frame.getNbViews(), 0);
    EXPECT_EQ(frame.getView(0), nullptr);
    EXPECT_EQ(deleted, 0);
    frame.addView(a);   // back in, for the frame to forget
    b->forget();
    EXPECT_EQ(deleted, 1);
}

TEST_F(ReferenceCountTest, ABackgroundIsHeldOncePerViewAndDeletedOnce)
{
    int deleted = 0;
    auto* bitmap = new SelfForgettingBitmap(&deleted);
    {
        CView first(CRect(0, 0, 10, 10));
        CView second(CRect(0, 0, 10, 10));
        first.setBackground(bitmap);
        second.setBackground(bitmap);
        first.setBackground(bitmap);   // the same one again changes nothing
        EXPECT_EQ(bitmap->getNbReference(), 3);
        bitmap->forget();              // the creator's
    }
    // The last owner's forget deleted it; its own forget on the way out did nothing.
    EXPECT_EQ(deleted, 1);
}

TEST_F(ReferenceCountTest, ABitmapFontMayBeOwnedOutright)
{
    auto font = std::make_unique<TesselFont>(99999, 8);
    EXPECT_EQ(font->getCharacterWidth(), 8);
    EXPECT_EQ(font->getWidth(), 0);   // no such bitmap
    EXPECT_EQ(font->getNbReference(), 1);
}

} // namespace
