#pragma once
// Small caret texts that pages draw inline in the 6-pixel font; the pages
// fill them from their own keys.

#include <cstdint>
#include <string>

namespace VSTGUI {
class CDrawContext;
}

class TesselTextEntry {
public:
    virtual ~TesselTextEntry() = default;

    // The text on the default background at (x, y), then the character at
    // the caret (a blank past the end) highlighted.
    virtual void draw(VSTGUI::CDrawContext* context, int32_t x, int32_t y);
    virtual bool hasText() const { return !text.empty(); }
    virtual void clear() { text.clear(); }
    // Whether the character may be typed; the pages' subclasses decide.
    virtual bool accepts(char character) const
    {
        (void)character;
        return false;
    }

    std::string text;
    int32_t caret = 0;
};

// Takes '+' and the digits only.
class TesselRegionEntry : public TesselTextEntry {
public:
    bool accepts(char character) const override { return character == '+' || (character >= '0' && character <= '9'); }
};
