#pragma once
// The program's texts are 8-bit Windows-1252 (file names arrive as their
// bytes). Text drawing converts them; Cairo takes only valid UTF-8.

#include <string>
#include <string_view>

namespace platform {

// The five bytes the code page leaves undefined map to the C1 controls of
// the same number, as Windows does.
char32_t windows1252ToUnicode(unsigned char byte);

// Stops at the first NUL, like the C strings the texts come from.
std::string windows1252ToUtf8(std::string_view text);

// Characters the code page lacks, and broken sequences, become '?'.
std::string utf8ToWindows1252(std::string_view text);

// Pasted and dropped text: Latin-1 characters are kept as their bytes; the
// others, the C1 controls and broken sequences are left out.
std::string utf8ToLatin1(std::string_view text);

} // namespace platform
