#include "editor/core/key_characters.h"

#include "platform/key_table.h"

#include <array>
#include <utility>

namespace {

constexpr int kPairs = 50;

struct KeyCharacters {
    KeyCharacters()
    {
        for (int key = 0; key < 256 && count < kPairs; ++key) {
            const platform::KeyTableRow& row = platform::keyTableRow(static_cast<uint8_t>(key));
            if (row.plain > ' ' && row.shifted > ' ' && row.plain != row.shifted && !has(row.plain))
                pairs[static_cast<size_t>(count++)] = {row.plain, row.shifted};
        }
    }
    bool has(uint8_t plain) const
    {
        for (int i = 0; i < count; ++i)
            if (pairs[static_cast<size_t>(i)].first == plain)
                return true;
        return false;
    }

    std::array<std::pair<uint8_t, uint8_t>, kPairs> pairs{};
    int count = 0;
};

} // namespace

uint8_t lookupKeyChar(uint8_t character)
{
    static const KeyCharacters table;
    for (int i = 0; i < table.count; ++i)
        if (table.pairs[static_cast<size_t>(i)].first == character)
            return table.pairs[static_cast<size_t>(i)].second;
    return 0;
}
