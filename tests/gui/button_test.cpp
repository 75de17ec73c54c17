// Buttons, button groups and the in-page popup: keys move the highlight
// round, clicks take the last button holding the point, faces follow the
// down look (a two-frame bitmap's lower half), and a popup's choice becomes
// its result.
#include "platform/key_event.h"
#include "gui/bitmap.h"
#include "gui/controls/button_group.h"
#include "gui/controls/control_skin.h"
#include "gui/offscreen_context.h"
#include "pagekit/tessel_popup.h"
#include "page_fixture.h"
#include "resources/resource_ids.h"

#include <memory>

namespace {

using platform::rgb;

constexpr CColor kFace{200, 40, 40, 0};
constexpr CColor kFrame{40, 200, 40, 0};

// Three buttons 20 pixels wide from (100, 50); the third overlaps the second.
std::unique_ptr<TesselButtonGroup> threeButtons()
{
    auto group = std::make_unique<TesselButtonGroup>(100, 50, nullptr, 0);
    EXPECT_TRUE(group->addButton(0, 0, 20, 10, 0, kFace, kFrame));
    EXPECT_TRUE(group->addButton(20, 0, 40, 10, 0, kFace, kFrame));
    EXPECT_TRUE(group->addButton(30, 0, 50, 10, 0, kFace, kFrame));
    return group;
}

} // namespace

TEST(ButtonGroup, KeysMoveTheHighlightRoundAndChooseIt)
{
    auto group = threeButtons();
    struct Step {
        uint8_t key;
        int32_t highlight;
        int32_t value;
    };
    for (const Step& s : {Step{kVkLeft, 2, 0}, Step{kVkRight, 0, 0}, Step{kVkRight, 1, 0}, Step{kVkSpace, 1, 1},
                          Step{kVkEnd, 2, 1}, Step{kVkEnter, 2, 2}, Step{kVkHome, 0, 2}, Step{kVkDown, 0, 2}}) {
        EXPECT_EQ(*group->onKey(namedKey(s.key)), s.value) << int(s.key);
        EXPECT_EQ(group->getHighlight(), s.highlight) << int(s.key);
    }
    // No buttons: no key does anything.
    TesselButtonGroup none;
    for (uint8_t key : {kVkLeft, kVkRight, kVkEnd, kVkHome, kVkSpace})
        EXPECT_EQ(*none.onKey(namedKey(key)), 0) << int(key);
    EXPECT_EQ(none.getHighlight(), 0);
}

TEST(ButtonGroup, ClicksTakeTheLastButtonHoldingThePointAndTheOriginMovesAll)
{
    auto group = threeButtons();
    EXPECT_EQ(*group->getRect(), CRect(100, 50, 150, 60));
    EXPECT_EQ(*group->onMouse(1, CPoint(135, 55)), 2);   // in the second and the third
    EXPECT_EQ(group->getHighlight(), 2);
    EXPECT_EQ(*group->onMouse(1, CPoint(120, 55)), 1);   // edges count
    EXPECT_EQ(*group->onMouse(1, CPoint(99, 55)), 1);    // beside every button
    EXPECT_EQ(*group->onMouse(0, CPoint(105, 55)), 1);   // no button down

    group->setOrigin(10, 5);
    EXPECT_EQ(*group->getRect(), CRect(10, 5, 60, 15));
    EXPECT_EQ(*group->getButton(0)->getRect(), CRect(10, 5, 30, 15));
    EXPECT_EQ(*group->onMouse(1, CPoint(12, 6)), 0);

    // Eight at most.
    for (int i = 3; i < 8; ++i)
        EXPECT_TRUE(group->addButton(0, 20, 5, 25, 0, kFace, kFrame));
    EXPECT_FALSE(group->addButton(0, 40, 5, 45, 0, kFace, kFrame));
    EXPECT_EQ(group->getCount(), 8);
    EXPECT_EQ(group->getRect()->bottom, 30);
}

TEST(Button, FacesFollowTheDownLookAndTheHighlight)
{
    // A two-frame bitmap: the close box's two 11-row faces on a 12 x 11 button.
    TesselButton twoFrame(CRect(4, 2, 16, 13), resources::kCloseBox, kFace, kFrame, false);
    ASSERT_TRUE(twoFrame.isTwoFrame());
    const CBitmap faces(resources::kCloseBox);
    CBitmap background(resources::kToolbarStrip);
    COffscreenContext target(nullptr, 40, 20, kBlackCColor);
    for (bool down : {true, false}) {
        twoFrame.drawOverBitmap(&target, down, false, &background);
        for (int32_t y = 0; y < 11; ++y)
            for (int32_t x = 0; x < 12; ++x) {
                platform::Colour expected = faces.image().pixelAt(x, y + (down ? 11 : 0));
                if (expected == platform::kKeyGreen)
                    expected = background.image().pixelAt(4 + x, 2 + y);
                ASSERT_EQ(target.getImage()->pixelAt(4 + x, 2 + y), expected) << down << " " << x << ", " << y;
            }
    }

    // A bevelled face: down it shows the frame colour round the face colour,
    // highlighted the highlight colour round it; up the face colour alone.
    TesselButton plain(CRect(20, 2, 36, 14), 0, kFace, kFrame, true);
    struct Case {
        bool down;
        bool highlighted;
        CColor edge;
    };
    for (const Case& c : {Case{true, false, kFrame}, Case{true, true, control_skin::kHighlight},
                          Case{false, true, control_skin::kHighlight}, Case{false, false, kFace}}) {
        plain.drawOverBitmap(&target, c.down, c.highlighted, &background);
        EXPECT_EQ(target.getImage()->pixelAt(20, 2), c.edge.toPlatform()) << c.down << c.highlighted;
        EXPECT_EQ(target.getImage()->pixelAt(28, 8), kFace.toPlatform()) << c.down << c.highlighted;
    }

    // Space, Enter and a press toggle the state.
    EXPECT_EQ(*plain.onKey(namedKey(kVkSpace)), 0);
    EXPECT_EQ(*plain.onKey(namedKey(kVkEnter)), 1);
    EXPECT_EQ(*plain.onMouse(1, CPoint(25, 5)), 0);
    EXPECT_EQ(*plain.onMouse(0, CPoint(25, 5)), 0);
}

TEST(Popup, AChoiceOnAButtonBecomesTheResult)
{
    auto* plate = new CBitmap(resources::kCapsLockPlate);   // 80 x 16
    TesselPopup popup;
    popup.setImage(plate);
    plate->forget();
    popup.place(50, 60, nullptr);
    EXPECT_FALSE(popup.isShown());   // no group yet

    auto group = std::make_unique<TesselButtonGroup>(0, 0, plate, 0);
    group->addButton(0, 0, 30, 16, 0, kFace, kFrame);
    group->addButton(40, 0, 70, 16, 0, kFace, kFrame);
    group->getButton(1)->setText("Both");
    popup.setButtonGroup(std::move(group));
    popup.place(50, 60, nullptr);
    EXPECT_TRUE(popup.isShown());
    EXPECT_EQ(popup.getRect(), CRect(50, 60, 130, 76));
    EXPECT_EQ(popup.resultIndex, TesselPopup::kNoResult);

    popup.click(1, CPoint(85, 65));   // between the buttons
    EXPECT_EQ(popup.resultIndex, TesselPopup::kNoResult);
    popup.click(1, CPoint(95, 65));
    EXPECT_EQ(popup.resultIndex, 1);
    popup.place(10, 10, nullptr);
    EXPECT_EQ(popup.resultIndex, TesselPopup::kNoResult);
    popup.setMode(TesselPopup::kTextMode);
    popup.click(1, CPoint(55, 15));
    EXPECT_EQ(popup.resultText, "Both");

    // Drawn where it was placed, the buttons over the image.
    COffscreenContext target(nullptr, 100, 40, kBlackCColor);
    popup.draw(&target, true);
    EXPECT_EQ(target.getImage()->pixelAt(10 + 75, 10 + 8), plate->image().pixelAt(75, 8));
    EXPECT_EQ(target.getImage()->pixelAt(10 + 45, 10 + 8), kFace.toPlatform());
}
