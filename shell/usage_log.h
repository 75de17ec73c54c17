#pragma once
// The usage log of one editor: records collected in a 102400-byte buffer and
// appended to "Quorbel-<pid>.log" in the private temporary folder when it
// fills or on request; each process has its own, so that no other copy of the
// program starts it anew or removes it. The editor's thread and the audio
// thread both log; one lock serialises them, and the audio thread never
// waits for it nor touches the file.

#include "shell/commands_usage.h"
#include "shell/usage_log_actions.h"
#include "shell/usage_log_events.h"

#include <cstdint>
#include <mutex>
#include <string>

struct TesselKeyEvent;

// The six values of the file's start header.
struct TesselLogIdentity {
    std::string hostVendor;
    std::string hostProduct;
    int32_t hostVersion = 0;
    std::string pluginVendor;
    std::string pluginProduct;
    int32_t pluginVersion = 0;
};

class TesselUsageLog : public TesselUsageSink {
public:
    static constexpr int kBufferSize = 102400;

    TesselUsageLog() = default;
    ~TesselUsageLog() override;
    TesselUsageLog(const TesselUsageLog&) = delete;
    TesselUsageLog& operator=(const TesselUsageLog&) = delete;

    // Creates the file anew with its start header; false when it cannot be
    // written (records are still collected).
    bool open(const TesselLogIdentity& identity);
    const std::string& path() const { return path_; }

    // Editor thread: may wait for the lock and write the file when full.
    void append(const OMBRIX::_log& event);
    // Audio thread: never waits and never writes the file; a record that
    // finds the log busy or full is dropped.
    bool appendNoWait(const OMBRIX::_log& event);
    void flush();

    void logCommand(int action, int32_t value) override;
    void logPreferences(const TesselPreferences& preferences) override;
    void logKey(const TesselKeyEvent& key);
    void logFocus(int page, int item, int state);
    // A mouse record (page coordinates) only when the buttons differ from
    // those of the last one.
    void logMouse(int x, int y, int32_t buttons);
    OMBRIX::iCURSOR& cursorRecord() { return cursor_; }

    // Writes what the buffer holds with signal-safe calls only and no lock;
    // for the crash handler.
    static void flushForCrash();

    int buffered() const { return position_; }

private:
    void store(const OMBRIX::_log& event);
    void flushLocked();

    std::mutex lock_;
    uint8_t buffer_[kBufferSize] = {};
    int position_ = 0;
    std::string path_;
    char crashPath_[1024] = {};
    int64_t previousTime_ = 0;
    OMBRIX::iFOCUS lastFocus_{0xFF, 0xFF, 0xFF};
    int32_t lastMouseButtons_ = -1;
    OMBRIX::iCURSOR cursor_;
};

// The open log, or null; every logging call through it does nothing then.
TesselUsageLog* usageLog();
void setUsageLog(TesselUsageLog* log);
// An action (`value` as the action defines it) in the open log, if any.
void logUsageAction(TesselLogAction action, int32_t value);
// A control's value change: a 'd' record of the open log, if any. The plug-in
// hands it to the controls as their value log.
void logControlValue(float value);
