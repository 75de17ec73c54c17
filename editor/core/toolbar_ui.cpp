// The toolbar: its buttons and file menu, the playing position texts and
// the picture composed over the strip's skin.

#include "editor/core/toolbar_ui.h"
#include "gui/page_fonts.h"
#include "pagekit/page_globals.h"

#include "editor/core/page_factory.h"
#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "common/help_pages.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/button.h"
#include "gui/lists/drop_list.h"
#include "plugin/plugin_globals.h"
#include "platform/status_text.h"
#include "platform/system/version.h"
#include "resources/palette.h"
#include "resources/resource_ids.h"
#include "shell/command_ids.h"

#include <cstdio>

namespace {

using namespace resources;

constexpr int32_t kWidth = 493;
constexpr int32_t kHeight = 36;
constexpr int32_t kLeft = 1;
constexpr int kPositionFont = 11;   // the small cyan digits
constexpr int32_t kNone = -1;
// Play Song acts only while the engine is not playing.
constexpr int32_t kLastStoppedState = 3;

struct ButtonPlace {
    CRect rect;
    int32_t bitmap;
    int32_t page;   // the page it switches to; 0 none
};
constexpr ButtonPlace kPlaces[TesselToolbarUI::kButtons] = {
    {CRect(3, 3, 20, 18), kToolbarFileMenu, 0},
    {CRect(20, 3, 37, 18), kToolbarPatternEditor, kPatternEditorPage},
    {CRect(37, 3, 54, 18), kToolbarSampleList, kSampleListPage},
    {CRect(54, 3, 71, 18), kToolbarInstrumentList, kInstrumentListPage},
    {CRect(71, 3, 88, 18), kToolbarInfoPage, kInfoPage},
    {CRect(88, 3, 105, 18), kToolbarOrderList, kOrderListPage},
    {CRect(105, 3, 122, 18), kToolbarPreferences, kPreferencesPage},
    {CRect(3, 19, 190, 32), 0, 0},
    {CRect(122, 3, 147, 18), 0, 0},
    {CRect(147, 3, 191, 18), 0, 0},
    {CRect(201, 0, 266, 22), kToolbarPlaySong, 0},
    {CRect(266, 0, 328, 22), kToolbarPlayPattern, 0},
    {CRect(328, 0, 398, 22), kToolbarPlayFromCursor, 0},
    {CRect(398, 0, 458, 22), kToolbarStop, 0},
    {CRect(458, 0, 645, 22), 0, 0},
};
constexpr const char* kHints[TesselToolbarUI::kButtons] = {
    "File Menu...",        "Pattern Editor (F2)",      "Sample List (F3)",        "Instrument List (F4)",
    "Info Page (F5)",      "Order List (F11)",         "Preferences (F12)",       "Click here for help (F1)",
    "Current Row",         "Current Order / Pattern",  "Play Song (F5)",          "Play Pattern (F6)",
    "Play from Cursor (F7)", "Stop Playback (F8)",     nullptr,
};
constexpr const char* kFileMenuEntries[] = {"<", "New (Ctrl+N)", "Open (Ctrl+O)", "Save/Update (Ctrl+S)",
                                            "Save As (Ctrl+Shift+S)"};
constexpr CColor kPlainFace{34, 35, 40, 0};
constexpr CColor kPlainFrame{96, 100, 112, 0};
constexpr CColor kHintInk{196, 200, 206, 0};
constexpr int32_t kVersionRight = 258;
constexpr int32_t kVersionTop = 24;
constexpr CPoint kLogoAt{462, 4};
constexpr CRect kHintRect(19, 19, 188, 31);
constexpr CPoint kRowAt{128, 9};
// Eight 6-pixel cells: the ")" ends two pixels inside its well.
constexpr CPoint kOrderAt{150, 9};

// Buttons that first show a hidden editor window.
bool showsWindowFirst(int i)
{
    return (i >= 2 && i <= 6) || i == TesselToolbarUI::kRowField || i == TesselToolbarUI::kOrderField ||
           i == TesselToolbarUI::kWebPage;
}

} // namespace

TesselShownPosition& TesselToolbarUI::lastShown()
{
    static TesselShownPosition shown;
    return shown;
}

const char* TesselToolbarUI::hint(int i)
{
    if (i == kWebPage) {
        static const std::string web = TesselEditor::webPageHint();
        return web.c_str();
    }
    return i >= 0 && i < kButtons ? kHints[i] : "";
}

TesselToolbarUI::TesselToolbarUI(TesselEditor* editor)
    : TesselToolbarPage(CRect(0, 0, kWidth, kHeight), 0, nullptr, editor, kClassId), owner_(editor)
{
    auto* skin = new CBitmap(kToolbarStrip);
    setBackground(skin);
    skin->forget();
    draggable = false;
    for (int i = 0; i < kButtons; ++i)
        buttons_[size_t(i)] = new TesselButton(kPlaces[i].rect, kPlaces[i].bitmap, kPlainFace, kPlainFrame, false);
    logo_ = new CBitmap(kToolbarLogo);
    fileMenu_ = new TesselDropList(CRect(19, 4, 20, 5), nullptr, "");
    for (const char* entry : kFileMenuEntries)
        fileMenu_->addEntry(entry);
    fileMenu_->setListener(this);
    adoptDropList(fileMenu_);
    platform::setFileMessage("");
}

TesselToolbarUI::~TesselToolbarUI()
{
    for (TesselButton* button : buttons_)
        delete button;
    if (logo_)
        logo_->forget();
}

void TesselToolbarUI::formatPosition(std::string& row, std::string& orderPattern) const
{
    // Nothing plays while the engine is stopped, whatever position it last handed over.
    int32_t order = kNone, pattern = kNone, playing = kNone;
    if (const TesselEditor* owner = editor(); owner && engine && engine->transport >= kPlayingSong)
        owner->playingPosition(order, pattern, playing);
    const auto three = [](int32_t value) {
        char text[16];
        std::snprintf(text, sizeof text, "%.3d", static_cast<int>(value));
        return std::string(text);
    };
    row = playing == kNone ? "---" : three(playing);
    if (pattern == kNone)
        orderPattern = "---(---)";
    else
        orderPattern = (order == kNone ? "---" : three(order)) + "(" + three(pattern) + ")";
}

void TesselToolbarUI::updatePosition()
{
    std::string row, orderPattern;
    formatPosition(row, orderPattern);
    // Stopping shows the dashes too; the record keeps the last played position.
    if (row != rowText_ || orderPattern != orderText_) {
        rowText_ = row;
        orderText_ = orderPattern;
        setDirty();
    }
    if (row == "---" && orderPattern == "---(---)")
        return;
    lastShown() = {row, orderPattern};
}

bool TesselToolbarUI::isDirty() const
{
    if (TesselToolbarPage::isDirty())
        return true;
    std::string row, orderPattern;
    formatPosition(row, orderPattern);
    return row != rowText_ || orderPattern != orderText_;
}

void TesselToolbarUI::showPageButtons(int32_t pageNumber)
{
    for (int i = 2; i <= 6; ++i)
        buttons_[size_t(i)]->setState(kPlaces[i].page == pageNumber);
    setDirty();
}

void TesselToolbarUI::showWindowButton(bool down)
{
    buttons_[kPatternEditorButton]->setState(down);
    setDirty();
}

void TesselToolbarUI::draw(CDrawContext* context)
{
    updatePosition();
    if (!context) {
        setDirty(false);
        return;
    }
    if (CBitmap* skin = getBackground())
        skin->draw(context, size);
    drawSmallNumber(context, platform::programVersion(), kVersionRight, kVersionTop);
    const int32_t transport = engine ? engine->transport.load() : kStoppedCut;
    for (int i = 0; i < kButtons; ++i) {
        if (kPlaces[i].bitmap == 0)
            continue;   // plain buttons are places on the skin
        bool down = pressed_[size_t(i)] || buttons_[size_t(i)]->getState();
        if (i == kPlaySong)
            down = pressed_[size_t(i)] || transport == kPlayingSong;
        else if (i == kPlayPattern)
            down = pressed_[size_t(i)] || transport == kPlayingPattern;
        buttons_[size_t(i)]->drawOverBitmap(context, down, false, nullptr);
    }
    if (logo_ && logo_->getWidth() > 0)
        logo_->draw(context, CRect(kLogoAt.h, kLogoAt.v, kLogoAt.h + logo_->getWidth(),
                                   kLogoAt.v + logo_->getHeight()));
    const std::string hintLine = platform::fileMessage();
    if (!hintLine.empty()) {
        context->setFont(0, 10);
        context->setFontColor(kHintInk);
        context->drawString(hintLine.c_str(), kHintRect, false, kLeftText);
    }
    TesselFont* font = bitmapFonts()[kPositionFont].get();
    if (font) {
        drawBitmapText(context, rowText_.c_str(), kRowAt.h, kRowAt.v, font);
        drawBitmapText(context, orderText_.c_str(), kOrderAt.h, kOrderAt.v, font);
    }
    setDirty(false);
}

int32_t TesselToolbarUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    TesselEditor* owner = editor();
    if (!owner || !engine)
        return 0;
    const bool press = (buttons & kLeft) && freshPress && !owner->inputBlocked();
    if (press && owner->isWindowVisible())
        if (TesselSplashUI* splash = owner->splash(); splash && splash->isShown() && !splash->isAnimating())
            splash->startFadeOut();
    int hit = -1;
    for (int i = 0; i < kButtons && hit < 0; ++i)
        if (CPoint(x, y).isInside(kPlaces[i].rect))
            hit = i;
    // The hint is written when the pointer comes onto a button, so that the
    // release after a press leaves what the button's command reported.
    const bool entered = hit != hovered_;
    hovered_ = hit;
    if (hit < 0)
        return 0;
    if (press) {
        runButton(hit);
    } else if (entered) {
        platform::setFileMessage(hint(hit));
        setDirty();
    }
    return 0;
}

void TesselToolbarUI::runButton(int i)
{
    TesselEditor& owner = *editor();
    if (showsWindowFirst(i) && !owner.isWindowVisible())
        owner.showEditorWindow();
    const bool transportButton = i >= kPlaySong && i <= kStop;
    if (transportButton) {
        pressed_[size_t(i)] = true;
        redrawNow(this);
    }
    switch (i) {
    case kFileMenu:
        fileMenu_->popup();
        // Closed, the menu's hint tells of nothing on screen; what a chosen
        // command reported stays.
        if (platform::fileMessage() == hint(kFileMenu))
            platform::setFileMessage("");
        break;
    case kPatternEditorButton:
        if (!owner.isWindowVisible())
            owner.showEditorWindow();
        else if (owner.currentPage() == owner.pages().patternEditor)
            owner.hideEditorWindow();
        else
            owner.switchPage(kPatternEditorPage, true);
        buttons_[kPatternEditorButton]->setState(owner.isWindowVisible());
        break;
    case kHelpButton: owner.openHelpPage(help::kDefaultTopic); break;
    case kPlaySong:
        if (engine->transport <= kLastStoppedState)
            owner.playSong(-1, 0);
        break;
    case kPlayPattern:
        if (TesselUI* page = owner.currentPage())
            owner.playPattern(page->getCurrentPattern(), 0);
        break;
    case kPlayFromCursor: owner.playFromCursor(); break;
    case kStop:
        if (engine->transport <= kStoppedCut)
            owner.executeCommand(cmd::root::kReset);   // the info page's channels and the engine
        engine->stop();
        break;
    case kWebPage: owner.openWebPage(); break;
    default:
        if (kPlaces[i].page != 0)
            pagePressed(kPlaces[i].page);
        break;
    }
    if (transportButton)
        pressed_[size_t(i)] = false;
    setDirty();
}

void TesselToolbarUI::pagePressed(int32_t page)
{
    TesselEditor& owner = *editor();
    const bool current = currentPageNumber().load() == page;
    owner.switchPage(current ? kPatternEditorPage : page, true);
}

void TesselToolbarUI::valueChanged(CDrawContext* /*context*/, CControl* control)
{
    if (control != static_cast<CControl*>(static_cast<COptionMenu*>(fileMenu_)))
        return;
    TesselEditor* owner = editor();
    if (!owner)
        return;
    switch (fileMenu_->getCurrent()) {
    case 1: owner->newModule(); break;
    case 2: owner->openModule(); break;
    case 3: owner->saveModule(0); break;
    case 4: owner->saveModule(1); break;
    default: break;
    }
}

TesselToolbarPage* makeToolbarPage(TesselEditor* editor)
{
    return new TesselToolbarUI(editor);
}
