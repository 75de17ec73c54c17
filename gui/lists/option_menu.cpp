// The option menu's entries: adding, moving, removing, checking and the
// current entry.

#include "gui/lists/option_menu.h"

#include "gui/bitmap.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace VSTGUI {

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                         CBitmap* pressedBackground, int32_t style)
    : CParamDisplay(size, background, style), pressedBackground_(pressedBackground)
{
    this->listener = listener;
    this->tag = tag;
    if (pressedBackground_)
        pressedBackground_->remember();
}

COptionMenu::~COptionMenu()
{
    removeAllEntry();
    if (pressedBackground_)
        pressedBackground_->forget();
}

std::string COptionMenu::entryText(const char* marker, const char* text, int32_t position) const
{
    char buffer[kMaxEntryLength + 1];
    switch (prefixNumbers_) {
    case 2: std::snprintf(buffer, sizeof buffer, "%s%1d %s", marker, position, text); break;
    case 3: std::snprintf(buffer, sizeof buffer, "%s%02d %s", marker, position, text); break;
    case 4: std::snprintf(buffer, sizeof buffer, "%s%03d %s", marker, position, text); break;
    default: std::snprintf(buffer, sizeof buffer, "%s%s", marker, text); break;
    }
    return buffer;
}

bool COptionMenu::addEntry(const char* text, int32_t index)
{
    const int32_t count = getNbEntries();
    if (count >= kMaxEntries || !text)
        return false;
    const int32_t position = index >= 0 ? std::min(index, count) : count;
    try {
        entries_.insert(entries_.begin() + position, entryText("", text, position + 1));
        try {
            checks_.insert(checks_.begin() + position, 0);
        } catch (const std::bad_alloc&) {
            entries_.erase(entries_.begin() + position);
            return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (index >= 0 && current_ >= index)
        ++current_;
    if (current_ == -1)
        current_ = 0;
    return true;
}

bool COptionMenu::addEntry(COptionMenu* submenu, const char* text)
{
    const int32_t count = getNbEntries();
    if (count >= kMaxEntries || !submenu || !text)
        return false;
    try {
        submenus_.reserve(submenus_.size() + 1);
        checks_.reserve(checks_.size() + 1);
        entries_.push_back(entryText("-M", text, count + 1));
    } catch (const std::bad_alloc&) {
        return false;
    }
    checks_.push_back(0);
    submenus_.push_back(submenu);
    submenu->remember();
    if (current_ == -1)
        current_ = 0;
    return true;
}

bool COptionMenu::choosable(int32_t index) const
{
    const std::string& text = entries_[static_cast<size_t>(index)];
    return !isSeparator(text) && !isTitle(text);
}

int32_t COptionMenu::getCurrent(char* text, bool countSeparators) const
{
    if (current_ < 0 || current_ >= getNbEntries())
        return -1;
    if (text)
        std::strcpy(text, entries_[static_cast<size_t>(current_)].c_str());
    if (countSeparators)
        return current_;
    int32_t before = 0;
    for (int32_t i = 0; i < current_; ++i)
        before += choosable(i) ? 1 : 0;
    return before;
}

bool COptionMenu::setCurrent(int32_t index, bool countSeparators)
{
    const int32_t count = getNbEntries();
    if (index < 0 || index >= count)
        return false;
    if (countSeparators) {
        if (isSeparator(entries_[static_cast<size_t>(index)]))
            return false;
        current_ = index;
    } else {
        int32_t position = count - 1;
        for (int32_t i = 0, seen = 0; i < count; ++i) {
            if (!choosable(i))
                continue;
            if (seen++ == index) {
                position = i;
                break;
            }
        }
        current_ = position;
    }
    setDirty();
    return true;
}

bool COptionMenu::getEntry(int32_t index, char* text) const
{
    if (index < 0 || index >= getNbEntries())
        return false;
    if (text)
        std::strcpy(text, entries_[static_cast<size_t>(index)].c_str());
    return true;
}

bool COptionMenu::setEntry(int32_t index, const char* text)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    if (text)
        entries_[static_cast<size_t>(index)] = std::string(text, strnlen(text, kMaxEntryLength));
    return true;
}

int32_t COptionMenu::submenuSlot(int32_t index) const
{
    int32_t slot = 0;
    for (int32_t i = 0; i < index; ++i)
        slot += isSubmenu(entries_[static_cast<size_t>(i)]) ? 1 : 0;
    return slot;
}

COptionMenu* COptionMenu::getSubMenu(int32_t n) const
{
    return n >= 0 && n < static_cast<int32_t>(submenus_.size()) ? submenus_[static_cast<size_t>(n)] : nullptr;
}

bool COptionMenu::removeEntry(int32_t index)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    // The submenu goes with its entry, so that later "-M" entries keep theirs.
    if (isSubmenu(entries_[static_cast<size_t>(index)])) {
        const int32_t slot = submenuSlot(index);
        if (slot < static_cast<int32_t>(submenus_.size())) {
            COptionMenu* submenu = submenus_[static_cast<size_t>(slot)];
            submenus_.erase(submenus_.begin() + slot);
            if (lastSubmenu_ == submenu)
                lastSubmenu_ = nullptr;
            submenu->forget();
        }
    }
    entries_.erase(entries_.begin() + index);
    checks_.erase(checks_.begin() + index);
    if (current_ >= index)
        --current_;
    if (entries_.empty())
        current_ = -1;
    return true;
}

bool COptionMenu::removeAllEntry()
{
    entries_.clear();
    checks_.clear();
    std::vector<COptionMenu*> submenus;
    submenus.swap(submenus_);
    lastSubmenu_ = nullptr;
    for (COptionMenu* submenu : submenus)
        submenu->forget();
    current_ = -1;
    return true;
}

int32_t COptionMenu::getIndex(const char* text) const
{
    if (!text)
        return -1;
    for (int32_t i = 0; i < getNbEntries(); ++i)
        if (entries_[static_cast<size_t>(i)] == text)
            return i;
    return -1;
}

bool COptionMenu::checkEntry(int32_t index, bool checked)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    checks_[static_cast<size_t>(index)] = checked ? 1 : 0;
    return true;
}

bool COptionMenu::checkEntryAlone(int32_t index)
{
    if (index < 0 || index >= getNbEntries())
        return false;
    std::fill(checks_.begin(), checks_.end(), uint8_t{0});
    checks_[static_cast<size_t>(index)] = 1;
    return true;
}

bool COptionMenu::isCheckEntry(int32_t index) const
{
    return index >= 0 && index < getNbEntries() && checks_[static_cast<size_t>(index)] != 0;
}

void COptionMenu::setPrefixNumbers(int32_t length)
{
    if (length == 0 || (length >= 2 && length <= 4))
        prefixNumbers_ = length;
}

void COptionMenu::setValue(float newValue)
{
    if (!(newValue > -1.0f && newValue < static_cast<float>(getNbEntries())))
        return;
    const int32_t index = static_cast<int32_t>(newValue);
    current_ = index;
    if (style & kCheckStyle)
        checks_[static_cast<size_t>(index)] ^= 1;
    value = newValue;
    setDirty();
}

void COptionMenu::draw(CDrawContext* context)
{
    if (current_ < 0 || current_ >= getNbEntries()) {
        drawText(context, nullptr);
        return;
    }
    const std::string& text = entries_[static_cast<size_t>(current_)];
    const size_t skip = std::min(text.size(), static_cast<size_t>(prefixNumbers_));
    drawText(context, text.c_str() + skip);
}

} // namespace VSTGUI
