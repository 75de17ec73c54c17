#pragma once
// Dialogs without a display: each request is recorded and answered from a
// queue a test fills; a request with no answer waiting is cancelled.

#include "platform/dialogs/dialogs.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace platform {

class HeadlessDialogs final : public Dialogs {
public:
    explicit HeadlessDialogs(WindowSystem& system) : Dialogs(system) {}

    enum class Kind : uint8_t { Open, OpenSeveral, Save, Folder, Font, Colour, MessageBox };

    struct Request {
        Kind kind = Kind::Open;
        uintptr_t owner = 0;   // the owner window's handle; 0 without one
        std::string title;     // the caption of a message box
        std::string startPath;
        std::vector<FileFilter> filters;
        int32_t filterIndex = 0;
        std::string defaultExtension;
        FontChoice font;       // the start of a font request
        Colour colour;         // the start of a colour request
        std::string text;      // a message box's text
        uint32_t style = 0;
    };

    struct Answer {
        bool cancel = false;
        std::vector<std::string> paths;
        FontChoice font;
        Colour colour;
        int32_t button = kAnswerOk;
        // Runs while the dialog shows, as the GUI thread's timers would.
        std::function<void()> meanwhile;
    };

    void answer(Answer answer) { answers_.push_back(std::move(answer)); }
    void answerPaths(std::vector<std::string> paths);
    void answerFont(const FontChoice& font);
    void answerColour(Colour colour);
    void answerButton(int32_t button);
    void answerCancel();

    const std::vector<Request>& requests() const { return requests_; }
    size_t answersLeft() const { return answers_.size(); }

protected:
    bool runFiles(Window* owner, const FileDialogRequest& request, std::vector<std::string>& paths) override;
    bool runFont(Window* owner, FontChoice& font) override;
    bool runColour(Window* owner, Colour& colour) override;
    int32_t runMessageBox(Window* owner, const std::string& text, const std::string& caption,
                          uint32_t style) override;

private:
    // The next answer for the request, after recording it; a cancel when
    // none is waiting.
    Answer take(Request request, Window* owner);

    std::deque<Answer> answers_;
    std::vector<Request> requests_;
};

} // namespace platform
