#pragma once
// The base of the program's dialogs: a modal run of a dialog template in a
// window of our toolkit, transient for its owner, with a message map from
// message numbers to member handlers and the default OK and Cancel. Escape
// and closing the window send WM_COMMAND with IDCANCEL, Return with the
// default button; a WM_COMMAND of IDOK or IDCANCEL that no handler takes
// ends the dialog with that id. While the dialog runs the window system keeps
// painting and timing every window, so a host's timer goes on idling its
// editor. One dialog is current at a time. GUI thread only.

#include "gui/dialogs/dialog_template.h"

#include <cstdint>
#include <map>
#include <memory>

namespace platform {
class Window;
}
class DialogView;

class CBaseDialog {
public:
    using Handler = void (CBaseDialog::*)(platform::Window* window, uintptr_t wParam, intptr_t lParam);

    // Becomes the current dialog.
    CBaseDialog(int32_t resourceId, platform::Window* parent);
    // Gives the current dialog back to the one it replaced, if still current.
    virtual ~CBaseDialog();
    CBaseDialog(const CBaseDialog&) = delete;
    CBaseDialog& operator=(const CBaseDialog&) = delete;

    // Runs the dialog of the resource id from the module of that name over
    // the parent window; what the dialog ended with, or -1 when it could not
    // be shown (no template, no parent, no window).
    virtual intptr_t doModal(const char* moduleName);
    virtual intptr_t doModalWithInstance(const DialogModule* instance);
    // The message map's dispatch: 1 when a handler took the message, 0 for
    // the default processing.
    virtual intptr_t dialogProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    // End the current dialog with IDOK (1) and IDCANCEL (2).
    virtual void onOK();
    virtual void onCancel();

    // A handler for a message; the first one added for a message stays.
    void addHandler(uint32_t message, Handler handler);
    template <class Dialog>
    void addHandler(uint32_t message, void (Dialog::*handler)(platform::Window*, uintptr_t, intptr_t))
    {
        addHandler(message, static_cast<Handler>(handler));
    }

    // The procedure every dialog window's messages go through: keeps the
    // first window it sees as the current dialog window and hands the message
    // to the current dialog.
    static intptr_t staticDialogProc(platform::Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    static CBaseDialog* currentDialog();
    static platform::Window* currentWindow();

    // Ends this dialog's modal run with the result.
    void endDialog(intptr_t result);
    bool isRunning() const { return running_ != nullptr; }

    // While the dialog runs: its items and its window; null otherwise.
    DialogView* view() const;
    platform::Window* window() const;
    // A new height for the running dialog's client area, its width and left
    // edge kept; it moves up as far as it must to stay on its screen.
    void setClientHeight(int32_t height);
    // The running dialog whose window that is, or null.
    static CBaseDialog* ofWindow(const platform::Window* window);

protected:
    // Once a pass of the modal loop, after the messages of that pass.
    virtual void onModalPass() {}

    int32_t resourceId() const { return resourceId_; }
    platform::Window* parentWindow() const { return parent_; }

private:
    struct Running;
    // The procedure, then the default processing of what it left.
    void send(uint32_t message, uintptr_t wParam, intptr_t lParam);

    std::map<uint32_t, Handler> messageMap_;
    Handler lastHandler_ = nullptr;   // found by the last dispatch
    uint16_t resourceId_;
    platform::Window* parent_;
    CBaseDialog* replaced_;
    platform::Window* replacedWindow_;
    std::unique_ptr<Running> running_;
    intptr_t result_ = 0;
    bool ended_ = false;
};
