#pragma once
// Fixed-size text fields of the song records.

#include <cstddef>

// Exactly `length` characters, blank-padded or cut, then a terminator.
void setBlankPadded(char* field, size_t length, const char* text);
bool isAllBlank(const char* field, size_t length);
