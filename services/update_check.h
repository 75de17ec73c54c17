#pragma once
// The editor's one-shot check for a newer version: one GET of the version
// file on a thread of its own, started at construction. The reply
// "s,%d,%d,p,%d,%d" announces a newer version when its second number is
// above the program's version x 1000. Network errors, other statuses and
// malformed replies set nothing. The editor owns one for its life.

#include "services/build_settings.h"
#include "services/curl_global.h"
#include "services/http_transfer.h"

#include <atomic>
#include <string>
#include <thread>

namespace services {

class UpdateCheck {
public:
    // Connect 5 s, total 10 s, the reply abandoned past 4 KiB.
    static TransferLimits defaultLimits() { return TransferLimits{5, 10, 4096, true, 0, 0}; }

    // No thread starts when the version is 0 or the address is no http or
    // https address (the default build's is empty).
    explicit UpdateCheck(float programVersion, std::string address = updateCheckAddress(),
                         TransferLimits limits = defaultLimits());
    // Raises the abort flag and waits for the thread, which notices it within
    // about 100 ms even while the server sends nothing.
    ~UpdateCheck();
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;

    // Any thread; written once by the check.
    bool updateAvailable() const { return available_.load(); }
    // True when a check thread was started.
    bool started() const { return started_; }
    // Waits for the check to end (tests; the destructor aborts instead).
    void wait();
    // The transfer's result; read only after wait().
    const TransferResult& result() const { return result_; }

private:
    void run(std::string address, TransferLimits limits);

    CurlGlobal curl_;   // first in, last out: the thread's transfer needs it
    float version_;
    std::atomic<bool> abort_{false};
    std::atomic<bool> available_{false};
    bool started_ = false;
    TransferResult result_;
    std::thread thread_;
};

// Reads "s,%d,%d,p,%d,%d" whole: each number decimal, 0..INT32_MAX, optional
// trailing white space only. False leaves `numbers` unchanged.
bool parseVersionReply(const std::string& reply, int (&numbers)[4]);
// The published version number (x 1000) against the program's version.
bool isNewerVersion(int published, float programVersion);

} // namespace services
