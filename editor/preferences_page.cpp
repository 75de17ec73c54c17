// Page 8: its controls, keys and clicks, and the routing to its sub-pages.

#include "editor/preferences_page.h"

#include "editor/page_factory.h"
#include "editor/tessel_editor.h"
#include "gui/bitmap.h"
#include "plugin/command_scheme.h"
#include "resources/resource_ids.h"

namespace {

constexpr int32_t kMouseButtons = 1 | 2 | 4;
constexpr uint8_t kVkTab = 2;
constexpr CColor kButtonFace{0xA0, 0xA0, 0xA0, 0};
constexpr CColor kButtonFrame{0x60, 0x60, 0x60, 0};
constexpr int32_t kContextHelp = 15;
constexpr const char* kContext = "Preferences";

} // namespace

TesselSongVariablesUI::TesselSongVariablesUI(TesselEditorServices* editor, const CRect& size)
    : TesselPreferencesPage(size, 0, nullptr, editor, kClassId), keyboard_(editor),
      buttons_{TesselButton(CRect(96, 21, 180, 39), resources::kKeyboardButton, kButtonFace, kButtonFrame, false)}
{
    auto* skin = new CBitmap(resources::kPreferencesPanel);
    setBackground(skin);
    skin->forget();
    panel_ = new CBitmap(resources::kSidePagePanel);
}

TesselSongVariablesUI::~TesselSongVariablesUI()
{
    panel_->forget();
}

bool TesselSongVariablesUI::isCurrent() const
{
    return editor && editor->currentPage() == this;
}

bool TesselSongVariablesUI::isDirty() const
{
    return TesselPreferencesPage::isDirty() || keyboard_.isDirty();
}

void TesselSongVariablesUI::setViewSize(const CRect& rect)
{
    TesselPreferencesPage::setViewSize(rect);
    const CPoint origin = subPageOrigin();
    CRect place;
    keyboard_.getViewSize(place);
    keyboard_.setViewSize(CRect(origin.h, origin.v, origin.h + place.width(), origin.v + place.height()));
}

bool TesselSongVariablesUI::attached(CView* parent)
{
    keyboard_.setFrame(parentFrame);
    return TesselPreferencesPage::attached(parent);
}

bool TesselSongVariablesUI::removed(CView* parent)
{
    keyboard_.stopCapture();
    return TesselPreferencesPage::removed(parent);
}

bool TesselSongVariablesUI::wantsKeys()
{
    return keyboard_.wantsKeys();
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
    const CPoint origin = subPageOrigin();
    if (control == kFocusKeyboard)
        keyboard_.open(CRect(origin.h, origin.v, origin.h, origin.v));
}

int32_t TesselSongVariablesUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return 0;
    if (keyboard_.wantsKeys()) {
        keyboard_.onKeyEvent(key);
        setDirty();
        return 1;
    }
    if (defaultScheme().findIdInContext(kContext, key, false) == kContextHelp) {
        if (auto* owner = dynamic_cast<TesselEditor*>(editor))
            owner->openHelpPage("PR.htm");
        return 1;
    }
    const bool back = (key.virtualKey == kVkTab && (key.modifiers & kModShift)) || key.virtualKey == kVkUp;
    const bool forward = (key.virtualKey == kVkTab && !(key.modifiers & kModShift)) || key.virtualKey == kVkDown;
    if (back || forward) {
        focus_ = (focus_ + (back ? kFocusCount - 1 : 1)) % kFocusCount;
        if (editor)
            editor->logCurrentFocus();
    } else if (focus_ != kFocusResolution && key.virtualKey == kVkEnter) {
        activate(focus_);
    }
    setDirty();
    return 1;
}

int32_t TesselSongVariablesUI::onMouseDown(int32_t x, int32_t y, CDrawContext* context, int32_t buttons)
{
    if (keyboard_.wantsKeys()) {
        keyboard_.onMouseDown(x - kSubPageLeft, y - kSubPageTop, context, buttons);
        setDirty();
        return 1;
    }
    if (!(buttons & kMouseButtons))
        return 0;
    const CPoint point(x, y);
    const int32_t controls[] = {kFocusKeyboard};
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (!buttons_[i].hitTest(point))
            continue;
        if (focus_ != controls[i]) {
            focus_ = controls[i];
            if (editor)
                editor->logCurrentFocus();
        }
        // Held buttons act once, on the press.
        if (freshPress)
            activate(controls[i]);
        break;
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
    const int32_t focused[] = {kFocusKeyboard};
    for (size_t i = 0; i < buttons_.size(); ++i)
        buttons_[i].drawOverBitmap(face_.get(), false, focus_ == focused[i], skin);
}

void TesselSongVariablesUI::draw(CDrawContext* context)
{
    if (!context)
        return;
    compose();
    face_->transfert(context, size);
    keyboard_.draw(context);
    TesselPreferencesPage::draw(context);
    setDirty(false);
}

TesselPreferencesPage* makePreferencesPage(TesselEditorServices* editor, const CRect& size)
{
    return new TesselSongVariablesUI(editor, size);
}
