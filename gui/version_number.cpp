#include "gui/version_number.h"

#include <cmath>
#include <cstdio>
#include <cstring>

std::string formatVersionNumber(float version)
{
    const double x = version;
    double whole = 0.0;
    const double fraction = std::modf(x, &whole);
    // The hundredths as two digits, so that 1.05 does not read as 1.5.
    char text[64];
    std::snprintf(text, sizeof text, "%d.%04.1f", static_cast<int>(whole), 100.0 * fraction);
    size_t length = std::strlen(text);
    if (length >= 3 && text[length - 3] == '0') {
        std::memmove(text + length - 3, text + length - 2, 3);
        --length;
    }
    if (length >= 2 && text[length - 1] == '0') {
        length -= 2;
        text[length] = '\0';
    }
    double thousands = 0.0;
    const double beyond = std::modf(x * 1000.0 + 0.0001, &thousands);
    std::string result(text);
    if (beyond >= 0.01) {
        char more[32];
        std::snprintf(more, sizeof more, ".%.0f", 100.0 * beyond);
        result += more;
    }
    return result;
}
