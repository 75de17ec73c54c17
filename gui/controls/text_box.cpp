#include "gui/controls/text_box.h"

#include "gui/clipboard.h"
#include "platform/key_event.h"
#include "resources/palette.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

bool isWordCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// Characters a box takes: not the control codes (Ctrl+letters carry 1 to
// 26), not DEL, not "none".
bool isPrintable(unsigned char c)
{
    return c >= 32 && c != 127 && c != kNoPrintable;
}

int32_t readNumber(const std::string& text)
{
    int64_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        number = std::min<int64_t>(number * 10 + (c - '0'), 999'999'999);
    }
    return static_cast<int32_t>(number);
}

int32_t powerOfTen(int32_t digits)
{
    int32_t power = 1;
    for (int32_t i = 0; i < digits; ++i)
        power *= 10;
    return power;
}

} // namespace

TesselTextBox::TesselTextBox(const CRect& rect, int32_t maxLength, const std::string& text, bool numberMode)
    : TesselControl(kClassId)
{
    TesselTextBox::init(rect, maxLength, text, numberMode);
}

void TesselTextBox::init(const CRect& rect, int32_t maxLength, const std::string& text, bool numberMode)
{
    this->rect = rect;
    this->numberMode = numberMode;
    this->maxLength = numberMode ? std::clamp(maxLength, 1, kMaxDigits) : std::max(maxLength, 0);
    caret = firstVisible = drawnCaret = 0;
    if (numberMode) {
        value = readNumber(text);
        name = numberText(value);
    } else {
        name = text.substr(0, static_cast<size_t>(this->maxLength));
    }
    constexpr platform::Colour ink = resources::palette::kHighlight;
    setColour(tesselRgba(ink.red, ink.green, ink.blue));
    framed = true;
    editable = true;
    dirty = true;
}

std::string TesselTextBox::numberText(int32_t number) const
{
    char text[16];
    if (numberMode)
        std::snprintf(text, sizeof text, "%.*d", maxLength, number);
    else
        std::snprintf(text, sizeof text, "%d", number);
    return text;
}

bool TesselTextBox::hitTest(const CPoint& point)
{
    return point.h >= rect.left && point.h <= rect.right && point.v >= rect.top && point.v <= rect.bottom;
}

int32_t* TesselTextBox::onMouse(int32_t /*buttons*/, const CPoint& point)
{
    clampToText();
    const int32_t offset = point.h - rect.left - 2;
    caret = std::clamp(firstVisible + (offset < 0 ? 0 : offset / cellWidth()), 0, static_cast<int32_t>(name.size()));
    return &value;
}

int32_t TesselTextBox::visibleCharacters() const
{
    return std::max((rect.right - rect.left - 4) / cellWidth() - 1, 0);
}

void TesselTextBox::clampToText()
{
    const int32_t length = static_cast<int32_t>(name.size());
    caret = std::clamp(caret, 0, length);
    firstVisible = std::clamp(firstVisible, 0, length);
}

int32_t* TesselTextBox::onKey(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return &value;
    clampToText();
    if (numberMode)
        numberKey(key);
    else
        textKey(key);
    afterKey();
    return &value;
}

void TesselTextBox::afterKey()
{
    const int32_t shown = visibleCharacters();
    if (caret < firstVisible) {
        firstVisible = caret;
        dirty = true;
    } else if (caret > firstVisible + shown) {
        firstVisible = caret - shown;
        dirty = true;
    }
    if (static_cast<int32_t>(name.size()) > maxLength)
        name.resize(static_cast<size_t>(maxLength));
    if (numberMode)
        value = readNumber(name);
}

void TesselTextBox::textKey(const TesselKeyEvent& key)
{
    const int32_t length = static_cast<int32_t>(name.size());
    const bool ctrl = (key.modifiers & kModCtrl) != 0;
    switch (key.virtualKey) {
    case kVkBack:
        if (caret > 0)
            name.erase(static_cast<size_t>(--caret), 1);
        return;
    case kVkEnd: caret = length; return;
    case kVkHome: caret = 0; return;
    case kVkLeft:
        caret = std::max(caret - 1, 0);
        while (ctrl && caret > 0 && isWordCharacter(name[static_cast<size_t>(caret - 1)]))
            --caret;
        return;
    case kVkRight:
        if (caret < length) {
            ++caret;
            while (ctrl && caret < length && caret < maxLength - 1 && isWordCharacter(name[static_cast<size_t>(caret)]))
                ++caret;
        }
        return;
    case kVkEnter: return;
    case kVkInsert: name.insert(static_cast<size_t>(caret), 1, ' '); return;
    case kVkDelete:
        if (caret < length)
            name.erase(static_cast<size_t>(caret), 1);
        return;
    default: break;
    }
    if (ctrl && key.virtualKey == 0 && key.character == 'v') {
        paste();
        return;
    }
    if (isPrintable(key.printable) && caret < maxLength) {
        name.insert(static_cast<size_t>(caret), 1, static_cast<char>(key.printable));
        if (caret != maxLength - 1)
            ++caret;
    }
}

void TesselTextBox::paste()
{
    std::string kept;
    for (char c : tessel_clipboard::text())
        if (isPrintable(static_cast<unsigned char>(c)))
            kept += c;
    const size_t room = static_cast<size_t>(std::max(maxLength - caret, 0));
    name.insert(static_cast<size_t>(caret), kept.substr(0, room));
    caret = std::min(caret + static_cast<int32_t>(kept.size()), std::max(maxLength - 1, 0));
}

void TesselTextBox::numberKey(const TesselKeyEvent& key)
{
    const int32_t digits = static_cast<int32_t>(name.size());
    switch (key.virtualKey) {
    case kVkBack:
        if (caret < digits)
            name[static_cast<size_t>(caret)] = '0';
        return;
    case kVkEnd: caret = digits; return;
    case kVkHome: caret = 0; return;
    case kVkLeft:
        caret = std::max(caret - 1, 0);
        while ((key.modifiers & kModCtrl) && caret > 0 && isWordCharacter(name[static_cast<size_t>(caret - 1)]))
            --caret;
        return;
    case kVkRight:
        if (caret < digits) {
            ++caret;
            while ((key.modifiers & kModCtrl) && caret < digits && caret < maxLength - 1 &&
                   isWordCharacter(name[static_cast<size_t>(caret)]))
                ++caret;
        }
        return;
    case kVkDelete:
        for (int32_t i = caret; i < digits; ++i)
            name[static_cast<size_t>(i)] = '0';
        return;
    case kVkEnter:
    case kVkInsert: return;
    default: break;
    }

    int32_t v = readNumber(name);
    const bool shift = (key.modifiers & kModShift) != 0;
    const bool ctrl = (key.modifiers & kModCtrl) != 0;
    const int32_t step = shift ? (ctrl ? 100 : 10) : 1;
    if (key.character >= '0' && key.character <= '9') {
        if (caret >= maxLength || caret >= digits)
            return;
        std::string padded = numberText(v);
        padded[static_cast<size_t>(caret)] = static_cast<char>(key.character);
        if (caret != maxLength - 1)
            ++caret;
        v = readNumber(padded);
    } else if (key.character == '-' || key.virtualKey == kVkSubtract) {
        if (v > step - 1)
            v -= step;
    } else if (key.character == '=' || key.virtualKey == kVkAdd) {
        if (v < powerOfTen(maxLength) - step)
            v += step;
    } else {
        return;
    }
    name = numberText(v);
}
