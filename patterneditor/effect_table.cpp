#include "patterneditor/effect_table.h"

const TesselEffectDescription* TesselEffectTable::find(const std::string& key) const
{
    if (key.size() != 3)
        return nullptr;
    for (const char* mask : {"...", "..*", ".*.", ".**"}) {
        std::string tried = key;
        for (int i = 1; i < 3; ++i)
            if (mask[i] == '*')
                tried[size_t(i)] = '*';
        if (auto it = byKey.find(tried); it != byKey.end())
            return &it->second;
    }
    return nullptr;
}

std::string effectKey(char letter, int parameter)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const int value = parameter & 0xFF;
    return {letter, kHex[value >> 4], kHex[value & 15]};
}
