#include "services/signal_safe_text.h"

#include <unistd.h>

namespace services {

SignalSafeText& SignalSafeText::add(char c)
{
    if (size_ < kCapacity) {
        buffer_[size_++] = c;
        buffer_[size_] = '\0';
    }
    return *this;
}

SignalSafeText& SignalSafeText::add(const char* text)
{
    for (; text && *text; ++text)
        add(*text);
    return *this;
}

SignalSafeText& SignalSafeText::hex(uint64_t value, int digits)
{
    static const char kDigits[] = "0123456789abcdef";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        add(kDigits[(value >> shift) & 0xF]);
    return *this;
}

SignalSafeText& SignalSafeText::dec(int64_t value)
{
    char digits[24];
    int n = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude && n < 24);
    if (value < 0)
        add('-');
    while (n > 0)
        add(digits[--n]);
    return *this;
}

SignalSafeText& SignalSafeText::date(int64_t seconds)
{
    // Civil date from days since 1970 (proleptic Gregorian), as localtime would
    // need locks that a signal handler must not take.
    int64_t days = seconds / 86400;
    int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
    const int64_t month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    auto two = [this](int64_t v) { add(static_cast<char>('0' + v / 10)).add(static_cast<char>('0' + v % 10)); };
    dec(month).add('/').dec(day).add('/').dec(year).add(' ');
    two(rest / 3600);
    add(':');
    two(rest / 60 % 60);
    add(':');
    two(rest % 60);
    return *this;
}

bool SignalSafeText::writeTo(int fd)
{
    size_t done = 0;
    while (done < size_) {
        const ssize_t n = ::write(fd, buffer_ + done, size_ - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    const bool complete = done == size_;
    clear();
    return complete;
}

} // namespace services
