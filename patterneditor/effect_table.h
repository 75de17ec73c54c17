#pragma once
// The effect descriptions by key: the effect letter and two parameter
// digits, '*' standing for any digit. The info panel fills the table; the
// cursor guide and the info bar look cells up in it.

#include <cstdint>
#include <map>
#include <string>

struct TesselEffectDescription {
    std::string key;           // e.g. "D*0"
    std::string text;          // "Volume Slide Up (Dx0)"
    int16_t lower = 0;
    int16_t upper = 0;
    int32_t kind = 0;          // 0 no value, 1 one hex digit, 4 0..127, 5 a byte, 2 and 3 special
    int32_t place = 255;       // 0 whole, 1 high digit, 2 low digit, 3 both as x and y, 255 none
    std::string hint;
};

struct TesselEffectTable {
    std::map<std::string, TesselEffectDescription> byKey;

    void add(TesselEffectDescription row) { byKey[row.key] = std::move(row); }
    // The exact key, then with its last digit as '*', then its middle one,
    // then both; null when none of them is there.
    const TesselEffectDescription* find(const std::string& key) const;
};

// A cell's key: the letter and the parameter as two upper-case hex digits.
std::string effectKey(char letter, int parameter);
