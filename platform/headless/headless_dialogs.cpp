#include "platform/headless/headless_dialogs.h"

#include "platform/window.h"

namespace platform {

namespace {

HeadlessDialogs::Kind kindOf(FileDialogKind kind)
{
    switch (kind) {
    case FileDialogKind::Open: return HeadlessDialogs::Kind::Open;
    case FileDialogKind::OpenSeveral: return HeadlessDialogs::Kind::OpenSeveral;
    case FileDialogKind::Save: return HeadlessDialogs::Kind::Save;
    case FileDialogKind::Folder: return HeadlessDialogs::Kind::Folder;
    }
    return HeadlessDialogs::Kind::Open;
}

} // namespace

void HeadlessDialogs::answerPaths(std::vector<std::string> paths)
{
    Answer a;
    a.paths = std::move(paths);
    answer(std::move(a));
}

void HeadlessDialogs::answerFont(const FontChoice& font)
{
    Answer a;
    a.font = font;
    answer(std::move(a));
}

void HeadlessDialogs::answerColour(Colour colour)
{
    Answer a;
    a.colour = colour;
    answer(std::move(a));
}

void HeadlessDialogs::answerButton(int32_t button)
{
    Answer a;
    a.button = button;
    answer(std::move(a));
}

void HeadlessDialogs::answerCancel()
{
    Answer a;
    a.cancel = true;
    a.button = kAnswerCancel;
    answer(std::move(a));
}

HeadlessDialogs::Answer HeadlessDialogs::take(Request request, Window* owner)
{
    request.owner = owner ? owner->handle() : 0;
    requests_.push_back(std::move(request));
    if (answers_.empty()) {
        Answer none;
        none.cancel = true;
        none.button = kAnswerCancel;
        return none;
    }
    Answer next = std::move(answers_.front());
    answers_.pop_front();
    if (next.meanwhile)
        next.meanwhile();
    return next;
}

bool HeadlessDialogs::runFiles(Window* owner, const FileDialogRequest& request, std::vector<std::string>& paths)
{
    Request asked;
    asked.kind = kindOf(request.kind);
    asked.title = request.title;
    asked.startPath = request.startPath;
    asked.filters = request.filters;
    asked.filterIndex = request.filterIndex;
    asked.defaultExtension = request.defaultExtension;
    Answer answer = take(std::move(asked), owner);
    if (answer.cancel)
        return false;
    paths = std::move(answer.paths);
    return true;
}

bool HeadlessDialogs::runFont(Window* owner, FontChoice& font)
{
    Request asked;
    asked.kind = Kind::Font;
    asked.font = font;
    Answer answer = take(std::move(asked), owner);
    if (answer.cancel)
        return false;
    font = answer.font;
    return true;
}

bool HeadlessDialogs::runColour(Window* owner, Colour& colour)
{
    Request asked;
    asked.kind = Kind::Colour;
    asked.colour = colour;
    Answer answer = take(std::move(asked), owner);
    if (answer.cancel)
        return false;
    colour = answer.colour;
    return true;
}

int32_t HeadlessDialogs::runMessageBox(Window* owner, const std::string& text, const std::string& caption,
                                       uint32_t style)
{
    Request asked;
    asked.kind = Kind::MessageBox;
    asked.title = caption;
    asked.text = text;
    asked.style = style;
    return take(std::move(asked), owner).button;
}

} // namespace platform
