#include "patterneditor/undo_ui.h"

#include <algorithm>
#include <cstdio>

TesselUndoUI::TesselUndoUI(TesselModule& song, TesselLocalClock clock, TesselEditorServices* editor)
    : TesselUI(CRect(), 0, nullptr, editor, kClassId), history_(song, std::move(clock))
{
}

void TesselUndoUI::open(int x, int y)
{
    left_ = x;
    top_ = y;
    shown = true;
    selected_ = 0;
}

int TesselUndoUI::onVirtualKey(int virtualKey)
{
    constexpr int last = TesselUndoHistory::kLines - 1;
    switch (virtualKey) {
    case kKeyEscape: shown = false; return 0;
    case kKeyEnd:
    case kKeyPageDown: selected_ = last; return 0;
    case kKeyHome:
    case kKeyPageUp: selected_ = 0; return 0;
    case kKeyUp: selected_ = std::max(selected_ - 1, 0); return 0;
    case kKeyDown: selected_ = std::min(selected_ + 1, last); return 0;
    case kKeyEnter: shown = false; return 1;
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
