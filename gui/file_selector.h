#pragma once
// The toolkit's file selector. The plug-in never lets the host provide one,
// so the real selector will always use the system's dialogs; until it
// exists, a selection finds nothing.

class CFileSelector {
public:
    virtual ~CFileSelector() = default;
    // Number of files chosen.
    virtual int run() { return 0; }
};
