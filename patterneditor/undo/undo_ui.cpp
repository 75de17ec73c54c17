#include "patterneditor/undo/undo_ui.h"

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "platform/key_event.h"

#include <algorithm>
#include <cstdio>

TesselUndoUI::TesselUndoUI(TesselModule& song, TesselLocalClock clock, TesselEditorServices* editor)
    : TesselUI(CRect(), 0, nullptr, editor, kClassId), history_(song, std::move(clock))
{
    auto* skin = new CBitmap(kBackgroundBitmap);
    setBackground(skin);
    skin->forget();
    placeAt(0, 0);
}

void TesselUndoUI::placeAt(int x, int y)
{
    const int32_t width = background ? background->getWidth() : 0;
    const int32_t height = background ? background->getHeight() : 0;
    setViewSize(CRect(x, y, x + width, y + height));
}

void TesselUndoUI::open(int x, int y)
{
    placeAt(x, y);
    shown = true;
    selected_ = 0;
}

void TesselUndoUI::draw(CDrawContext* context)
{
    if (!context)
        return;
    if (background)
        background->draw(context, size);
    for (int line = 0; line < TesselUndoHistory::kLines; ++line) {
        const bool selected = line == selected_;
        TesselFont* font = controlFont(selected ? TesselControlFont::Highlight : TesselControlFont::Normal, false);
        drawBitmapText(context, lineText(line).c_str(), size.left + kTextLeft, size.top + kTextTop + kLineHeight * line,
                       font, selected ? &kSelectedBackground : nullptr);
    }
    TesselUI::draw(context);
}

int32_t TesselUndoUI::onKeyEvent(const TesselKeyEvent& key)
{
    const int32_t result = onVirtualKey(key.virtualKey);
    setDirty();
    return result;
}

int TesselUndoUI::onVirtualKey(int virtualKey)
{
    constexpr int last = TesselUndoHistory::kLines - 1;
    switch (virtualKey) {
    case kVkEscape: shown = false; return 0;
    case kVkEnd:
    case kVkPageDown: selected_ = last; return 0;
    case kVkHome:
    case kVkPageUp: selected_ = 0; return 0;
    case kVkUp: selected_ = std::max(selected_ - 1, 0); return 0;
    case kVkDown: selected_ = std::min(selected_ + 1, last); return 0;
    case kVkEnter: shown = false; return 1;
    default: return 0;
    }
}

std::string TesselUndoUI::lineText(int line) const
{
    if (line < 0 || line >= TesselUndoHistory::kLines)
        return {};
    char text[kUndoLabelSize + 1];
    std::snprintf(text, sizeof text, "%-52s", history_.label(line));
    return text;
}
