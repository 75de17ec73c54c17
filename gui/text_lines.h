#pragma once
// A text broken into the lines a box of some width shows: at each line feed
// and, when wrapping, before the word that would pass the right edge (a word
// wider than the box breaks between characters; blanks at a break stay at
// the end of the upper line). Widths are the font's advances, as drawn.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {
class Font;
}

struct TextLine {
    size_t start = 0;
    size_t end = 0;   // past the last character shown; a line feed is not shown
};

// Never empty: an empty text is one empty line, and a text ending in a line
// feed ends with an empty line.
std::vector<TextLine> breakIntoLines(const platform::Font& font, std::string_view text, int32_t width, bool wrap);

// The line that shows the character at `index` (a caret before it): the
// last line that starts at or before it.
size_t lineOfIndex(const std::vector<TextLine>& lines, size_t index);

// The index in the line nearest to a distance from the line's left edge.
size_t indexAtDistance(const platform::Font& font, std::string_view text, const TextLine& line, int32_t x);

// The width of text[from, to).
int32_t measureRange(const platform::Font& font, std::string_view text, size_t from, size_t to);
