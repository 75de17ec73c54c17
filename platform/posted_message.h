#pragma once
// Windows posts a message number with a word (wParam); here both ride in
// the param of a User message: the number in the high half, the word in the
// low half.

#include <cstdint>

namespace platform {

static_assert(sizeof(intptr_t) >= 8, "a User message's param holds a number and a word");

constexpr intptr_t postedParam(uint32_t message, uint32_t word)
{
    return static_cast<intptr_t>(static_cast<uint64_t>(message) << 32 | word);
}

constexpr uint32_t postedMessage(intptr_t param)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(param) >> 32);
}

constexpr uint32_t postedWord(intptr_t param)
{
    return static_cast<uint32_t>(static_cast<uint64_t>(param));
}

} // namespace platform
