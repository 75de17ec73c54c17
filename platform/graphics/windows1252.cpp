#include "platform/graphics/windows1252.h"

namespace platform {

namespace {

// 0x80..0x9F; everything else equals its Latin-1 code point.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

char32_t windows1252ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char32_t(byte);
}

std::string windows1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\0')
            break;
        appendUtf8(out, windows1252ToUnicode(static_cast<unsigned char>(c)));
    }
    return out;
}

namespace {

// The code point at text[i] and the bytes it takes; -1 for a broken sequence.
std::pair<int32_t, size_t> decodeUtf8(std::string_view text, size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
    int32_t c = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool valid = length != 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        valid = (next & 0xC0) == 0x80;
        c = c << 6 | (next & 0x3F);
    }
    return valid ? std::pair<int32_t, size_t>{c, length} : std::pair<int32_t, size_t>{-1, 1};
}

} // namespace

std::string utf8ToLatin1(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto [c, length] = decodeUtf8(text, i);
        i += length;
        if (c >= 0 && c < 0x100 && !(c >= 0x80 && c < 0xA0))
            out += static_cast<char>(c);
    }
    return out;
}

std::string utf8ToWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto [c, length] = decodeUtf8(text, i);
        i += length;
        char mapped = '?';
        if (c >= 0 && (c < 0x80 || (c >= 0xA0 && c < 0x100)))
            mapped = static_cast<char>(c);
        else if (c >= 0)
            for (unsigned byte = 0x80; byte < 0xA0; ++byte)
                if (kHighControls[byte - 0x80] == static_cast<char32_t>(c))
                    mapped = static_cast<char>(byte);
        out += mapped;
    }
    return out;
}

} // namespace platform
