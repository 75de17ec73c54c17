#pragma once
// Text building that is safe inside a signal handler: a fixed buffer, no
// allocation, no locale, no stdio.

#include <cstddef>
#include <cstdint>

namespace services {

class SignalSafeText {
public:
    static constexpr size_t kCapacity = 1024;

    SignalSafeText& add(const char* text);
    SignalSafeText& add(char c);
    SignalSafeText& hex(uint64_t value, int digits);
    SignalSafeText& dec(int64_t value);
    // "month/day/year hh:mm:ss" of a time in seconds since 1970, in UTC.
    SignalSafeText& date(int64_t seconds);
    SignalSafeText& endLine() { return add("\r\n"); }

    const char* data() const { return buffer_; }
    size_t size() const { return size_; }
    void clear() { size_ = 0; buffer_[0] = '\0'; }
    // Writes and clears; false when the descriptor took less than all.
    bool writeTo(int fd);

private:
    char buffer_[kCapacity + 1] = {};
    size_t size_ = 0;
};

} // namespace services
