// Page 8: its controls, keys and clicks, and the routing to its sub-pages.

#include "editor/preferences/preferences_page.h"

#include "common/help_pages.h"
#include "editor/core/page_factory.h"
#include "engine/engine.h"
#include "gui/bitmap.h"
#include "resources/resource_ids.h"
#include "shell/command_ids.h"
#include "shell/command_scheme.h"

#include <algorithm>

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;
constexpr CColor kButtonFace{0xA0, 0xA0, 0xA0, 0};
constexpr CColor kButtonFrame{0x60, 0x60, 0x60, 0};

TesselButton makeButton(int32_t left, int32_t bitmap)
{
    return TesselButton(CRect(left, 21, left + 84, 39), bitmap, kButtonFace, kButtonFrame, false);
}

} // namespace

TesselSongVariablesUI::TesselSongVariablesUI(TesselEditorPageServices* editor, const CRect& size)
    : TesselPreferencesPage(size, 0, nullptr, editor, kClassId), TesselEditorPageOwner(editor), keyboard_(editor), settings_(editor),
      resolution_(CRect(92, 79, 268, 90), 1, 100, 6),
      buttons_{makeButton(9, resources::kSettingsButton), makeButton(96, resources::kKeyboardButton),
               makeButton(183, resources::kSaveDefaultButton)}
{
    auto* skin = new CBitmap(resources::kPreferencesPanel);
    setBackground(skin);
    skin->forget();
    panel_ = new CBitmap(resources::kSidePagePanel);
    resolution_.setColour(tesselRgba(0x2D, 0x2D, 0x2D));
}

TesselSongVariablesUI::~TesselSongVariablesUI()
{
    panel_->forget();
}

bool TesselSongVariablesUI::isCurrent() const
{
    return editor && editor->currentPage() == this;
}

int32_t TesselSongVariablesUI::shownResolution() const
{
    return song ? std::clamp(static_cast<int32_t>(song->resolution + 0.1), 1, 100) : 1;
}

bool TesselSongVariablesUI::isDirty() const
{
    return TesselPreferencesPage::isDirty() || keyboard_.isDirty() || settings_.isDirty();
}

void TesselSongVariablesUI::setViewSize(const CRect& rect)
{
    TesselPreferencesPage::setViewSize(rect);
    const CPoint origin = subPageOrigin();
    keyboard_.moveTo(origin);
    settings_.moveTo(origin);
}

bool TesselSongVariablesUI::attached(CView* parent)
{
    keyboard_.setFrame(parentFrame);
    settings_.setFrame(parentFrame);
    return TesselPreferencesPage::attached(parent);
}

bool TesselSongVariablesUI::removed(CView* parent)
{
    keyboard_.stopCapture();
    return TesselPreferencesPage::removed(parent);
}

TesselUI* TesselSongVariablesUI::activeSubPage()
{
    if (keyboard_.wantsKeys())
        return &keyboard_;
    if (settings_.wantsKeys())
        return &settings_;
    return nullptr;
}

bool TesselSongVariablesUI::wantsKeys()
{
    return activeSubPage() != nullptr;
}

bool TesselSongVariablesUI::keyboardPanelWantsKeys()
{
    // Keys reach the capture only on this page: one left through the
    // toolbar would otherwise swallow every key unseen.
    return isCurrent() && keyboard_.capturing();
}

int32_t TesselSongVariablesUI::keyboardPanelKey(const TesselKeyEvent& key)
{
    keyboard_.onKeyEvent(key);
    setDirty();
    return 1;
}

void TesselSongVariablesUI::activate(int32_t control)
{
    if (control == kFocusSettings) {
        settings_.open(subPageOrigin());
    } else if (control == kFocusKeyboard) {
        keyboard_.open(subPageOrigin());
    } else if (control == kFocusSave) {
        if (TesselEditorPageServices* pages = owner())
            pages->savePreferences();
    }
}

void TesselSongVariablesUI::applyResolution()
{
    const int32_t v = resolution_.value;
    if (!song || !engine || v == static_cast<int32_t>(song->resolution + 0.1))
        return;
    {
        // A song write: the lock or nothing. The rows' ticks come from the
        // resolution, so the timing lists are rebuilt as a load does.
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (!lock)
            return;
        song->resolution = v;
        song->markEdited();
        engine->rebuildSongPlaylist(nullptr, true);
        engine->rebuildPatternPlaylists(true);
    }
    getPreferences().defaultResolution = static_cast<int32_t>(v + 0.0001);
    if (editor)
        editor->redrawPatternEditor();
    setDirty();
}

int32_t TesselSongVariablesUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return 0;
    if (TesselUI* sub = activeSubPage()) {
        sub->onKeyEvent(key);
        setDirty();
        return 1;
    }
    if (defaultScheme().findIdInContext(cmd::preferences::kContext, key, false) == cmd::root::kHelpContext) {
        if (TesselEditorPageServices* pages = owner())
            pages->openHelpPage(help::kPreferences);
        return 1;
    }
    const bool tab = key.virtualKey == kVkTab;
    const bool back = (tab && (key.modifiers & kModShift)) || key.virtualKey == kVkUp;
    const bool forward = (tab && !(key.modifiers & kModShift)) || key.virtualKey == kVkDown;
    if (back || forward) {
        focus_ = (focus_ + (back ? kFocusCount - 1 : 1)) % kFocusCount;
        if (editor)
            editor->logCurrentFocus();
    } else if (focus_ == kFocusResolution) {
        if (!resolution_.isTyping())
            resolution_.value = shownResolution();
        resolution_.onKey(key);
        applyResolution();
    } else if (key.virtualKey == kVkEnter) {
        activate(focus_);
    }
    setDirty();
    return 1;
}

int32_t TesselSongVariablesUI::onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons)
{
    if (TesselUI* sub = activeSubPage()) {
        sub->onMouseDown(x - kSubPageLeft, y - kSubPageTop, context, buttons);
        setDirty();
        return 1;
    }
    if (!(buttons & kMouseButtons))
        return 0;
    const CPoint point(x, y);
    int32_t hit = -1;
    if (resolution_.hitTest(point))
        hit = kFocusResolution;
    for (size_t i = 0; i < buttons_.size() && hit < 0; ++i)
        if (buttons_[i].hitTest(point))
            hit = kFocusSettings + static_cast<int32_t>(i);
    if (hit < 0)
        return 0;
    if (focus_ != hit) {
        focus_ = hit;
        if (editor)
            editor->logCurrentFocus();
    }
    if (hit == kFocusResolution) {
        if (!resolution_.isTyping())
            resolution_.value = shownResolution();
        resolution_.onMouse(buttons, point);
        applyResolution();
    } else if (freshPress) {
        // A held button acts once, on its press.
        activate(hit);
    }
    setDirty();
    return 1;
}

void TesselSongVariablesUI::onMouseWheel(int32_t x, int32_t y, float distance)
{
    if (!keyboard_.wantsKeys())
        return;
    CRect place;
    keyboard_.getViewSize(place);
    keyboard_.onMouseWheel(x - place.left, y - place.top, distance);
    setDirty();
}

void TesselSongVariablesUI::compose()
{
    CBitmap* skin = getBackground();
    const int32_t width = size.width();
    const int32_t height = size.height();
    if (!face_ || face_->getWidth() != width || face_->getHeight() != height)
        face_ = std::make_unique<COffscreenContext>(nullptr, width, height);
    panel_->draw(face_.get(), CRect(0, 0, width, height));
    skin->draw(face_.get(), CRect(0, 0, skin->getWidth(), skin->getHeight()));
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i].drawOverBitmap(face_.get(), false, focus_ == kFocusSettings + static_cast<int32_t>(i), skin);
    resolution_.draw(face_.get(), shownResolution(), focus_ == kFocusResolution);
}

void TesselSongVariablesUI::draw(CDrawContext* context)
{
    if (!context)
        return;
    compose();
    face_->transfert(context, size);
    keyboard_.draw(context);
    settings_.draw(context);
    TesselPreferencesPage::draw(context);
    setDirty(false);
}

TesselPreferencesPage* makePreferencesPage(TesselEditorPageServices* editor, const CRect& size)
{
    return new TesselSongVariablesUI(editor, size);
}
