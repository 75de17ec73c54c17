#pragma once
// One bounded HTTP request through libcurl, shared by the update check and
// the report upload: http and https only, no redirects, certificates
// verified, no signals, connect and total time-outs, an optional floor on
// the transfer speed, a capped reply, and an abort flag another thread may
// raise at any time (the transfer notices it within about 100 ms).

#include <atomic>
#include <cstdint>
#include <string>

namespace services {

struct TransferLimits {
    long connectSeconds = 5;
    long totalSeconds = 10;
    size_t replyCap = 4096;
    // True: a longer reply abandons the transfer (it then fails). False: the
    // bytes past the cap are dropped and the transfer goes on.
    bool abandonPastCap = true;
    // Abort when slower than this many bytes per second for lowSpeedSeconds; 0 = no floor.
    long lowSpeedBytes = 0;
    long lowSpeedSeconds = 0;
};

struct TransferResult {
    bool requested = false;   // the address was acceptable and a request was made
    bool completed = false;   // libcurl ended without error
    bool aborted = false;     // the abort flag ended it
    bool pastCap = false;     // the reply was longer than the cap
    long status = 0;          // the HTTP status; 0 when none came
    std::string reply;        // at most replyCap bytes

    bool succeeded() const { return completed && status >= 200 && status <= 299; }
};

// The file of a multipart form post: one part of that name, read from an
// open descriptor (the caller keeps it) of `size` bytes.
struct FormFile {
    const char* field = "";
    const char* fileName = "";
    int descriptor = -1;
    uint64_t size = 0;
};

// True for an address that starts "http://" or "https://" (any case).
bool isWebAddress(const std::string& address);

// Nothing is requested (requested stays false) when the address is not a web
// address or libcurl is not set up. Any thread; blocks until the transfer ends.
TransferResult httpGet(const std::string& address, const TransferLimits& limits,
                       const std::atomic<bool>* abort = nullptr);
TransferResult httpPostFile(const std::string& address, const TransferLimits& limits, const FormFile& file,
                            const std::atomic<bool>* abort = nullptr);

} // namespace services
