#include "gui/text_lines.h"

#include "platform/graphics/font.h"

#include <algorithm>

namespace {

int32_t advanceOf(const platform::Font& font, char c)
{
    return font.advance(static_cast<unsigned char>(c));
}

} // namespace

std::vector<TextLine> breakIntoLines(const platform::Font& font, std::string_view text, int32_t width, bool wrap)
{
    std::vector<TextLine> lines;
    size_t start = 0;
    while (true) {
        int32_t x = 0;
        size_t breakAt = std::string_view::npos;   // where the next word starts
        size_t i = start;
        bool broke = false;
        for (; i < text.size() && text[i] != '\n'; ++i) {
            const int32_t advance = advanceOf(font, text[i]);
            if (text[i] == ' ') {
                x += advance;
                breakAt = i + 1;
                continue;
            }
            if (wrap && i > start && x + advance > width) {
                const size_t end = breakAt != std::string_view::npos ? breakAt : i;
                lines.push_back({start, end});
                start = end;
                broke = true;
                break;
            }
            x += advance;
        }
        if (broke)
            continue;
        lines.push_back({start, i});
        if (i >= text.size())
            return lines;
        start = i + 1;
    }
}

size_t lineOfIndex(const std::vector<TextLine>& lines, size_t index)
{
    size_t line = 0;
    for (size_t l = 0; l < lines.size() && lines[l].start <= index; ++l)
        line = l;
    return line;
}

size_t indexAtDistance(const platform::Font& font, std::string_view text, const TextLine& line, int32_t x)
{
    int32_t at = 0;
    for (size_t i = line.start; i < line.end; ++i) {
        const int32_t advance = advanceOf(font, text[i]);
        if (x < at + (advance + 1) / 2)
            return i;
        at += advance;
    }
    // A caret at the end of a wrapped line would show at the next line's
    // start: past the end it goes before the line's last character.
    if (line.end > line.start && line.end < text.size() && text[line.end] != '\n')
        return line.end - 1;
    return line.end;
}

int32_t measureRange(const platform::Font& font, std::string_view text, size_t from, size_t to)
{
    int32_t width = 0;
    for (size_t i = from; i < std::min(to, text.size()); ++i)
        width += advanceOf(font, text[i]);
    return width;
}
