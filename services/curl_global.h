#pragma once
// libcurl's process-wide set-up, shared by whoever needs it: the first holder
// initialises the library, the last one cleans it up. The editor holds one
// for its life; each transfer holds one as well, so a transfer outliving
// nothing can find the library cleaned up under it.

namespace services {

class CurlGlobal {
public:
    CurlGlobal();
    ~CurlGlobal();
    CurlGlobal(const CurlGlobal&) = delete;
    CurlGlobal& operator=(const CurlGlobal&) = delete;

    // False when libcurl's initialisation failed; transfers then make no request.
    bool ready() const { return ready_; }
    // Holders in the process (for tests).
    static int holders();

private:
    bool ready_ = false;
};

} // namespace services
