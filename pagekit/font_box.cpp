#include "pagekit/font_box.h"

#include "pagekit/editor_services.h"
#include "pagekit/frame2.h"
#include "platform/dialogs/dialogs.h"
#include "platform/key_event.h"
#include "platform/window.h"

#include <cstring>

namespace {

constexpr int32_t kMaxLength = 64;

} // namespace

TesselFontBox::TesselFontBox(const CRect& rect, TesselEditorServices* editor)
    : TesselTextBox(rect, kMaxLength, "not initialised", false), editor_(editor)
{
}

std::string TesselFontBox::describe(const TesselFontRecord& font)
{
    const std::string face(font.faceName, strnlen(font.faceName, sizeof font.faceName));
    const bool bold = font.weight > 400;
    const char* style = bold ? (font.italic ? "Bold Italic" : "Bold") : (font.italic ? "Italic" : "Regular");
    return face + ", " + std::to_string(font.height) + ", " + style;
}

void TesselFontBox::setFont(const TesselFontRecord& font)
{
    font_ = font;
    const std::string text = describe(font);
    if (text != name) {
        name = text.substr(0, static_cast<size_t>(maxLength));
        dirty = true;
    }
    clampToText();
}

int32_t* TesselFontBox::onKey(const TesselKeyEvent& key)
{
    if (!key.keyUp && key.virtualKey == kVkEnter)
        chooseFont();
    return &font_.height;
}

int32_t* TesselFontBox::onMouse(int32_t /*buttons*/, const CPoint& /*point*/)
{
    chooseFont();
    return &font_.height;
}

const TesselFontRecord& TesselFontBox::chooseFont()
{
    CFrame2* frame = editor_ ? editor_->frame2() : nullptr;
    platform::Window* owner = frame ? frame->getWindow() : nullptr;
    if (!owner || editor_->popupActive())
        return font_;
    platform::FontChoice choice;
    choice.face.assign(font_.faceName, strnlen(font_.faceName, sizeof font_.faceName));
    choice.height = platform::pointsToHeight(font_.height);
    choice.weight = font_.weight;
    choice.italic = font_.italic != 0;
    editor_->beginPopup();
    const bool chose = owner->system().dialogs().chooseFont(owner, choice);
    editor_->endPopup();
    if (!chose)
        return font_;
    TesselFontRecord chosen = font_;
    std::memset(chosen.faceName, 0, sizeof chosen.faceName);
    std::strncpy(chosen.faceName, choice.face.c_str(), sizeof chosen.faceName - 1);
    chosen.height = platform::heightToPoints(choice.height);
    chosen.weight = choice.weight;
    chosen.italic = choice.italic ? 1 : 0;
    setFont(chosen);
    editor_->fontChanged(font_);
    return font_;
}

void TesselFontBox::drawFont(VSTGUI::CDrawContext* context, const TesselFontRecord& font, bool focused)
{
    setFont(font);
    drawText(context, name.c_str(), focused);
}
