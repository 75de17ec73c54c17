#include "model/text_field.h"

#include <algorithm>
#include <cstring>

void setBlankPadded(char* field, size_t length, const char* text)
{
    const size_t n = text ? std::min(std::strlen(text), length) : 0;
    std::memset(field, ' ', length);
    if (n)
        std::memcpy(field, text, n);
    field[length] = '\0';
}

bool isAllBlank(const char* field, size_t length)
{
    return std::all_of(field, field + length, [](char c) { return c == ' '; });
}
