#include "platform/dialogs/dialogs.h"

#include "platform/window.h"

#include <cstdlib>

namespace platform {

// Marks a dialog as showing for the length of one request.
class Dialogs::Showing {
public:
    explicit Showing(Dialogs& dialogs) : dialogs_(dialogs) { dialogs_.showing_ = true; }
    ~Showing() { dialogs_.showing_ = false; }
    Showing(const Showing&) = delete;
    Showing& operator=(const Showing&) = delete;

private:
    Dialogs& dialogs_;
};

bool Dialogs::busy() const
{
    return showing_ || system_.popupShowing();
}

bool Dialogs::chooseFiles(Window* owner, const FileDialogRequest& request, std::vector<std::string>& paths)
{
    paths.clear();
    if (busy())
        return false;
    Showing showing(*this);
    if (!runFiles(owner, request, paths) || paths.empty() || (request.kind != FileDialogKind::OpenSeveral && paths.size() != 1)) {
        paths.clear();
        return false;
    }
    for (const std::string& path : paths)
        if (path.empty()) {
            paths.clear();
            return false;
        }
    if (request.kind == FileDialogKind::Save)
        paths[0] = withDefaultExtension(paths[0], request.defaultExtension);
    return true;
}

bool Dialogs::chooseFont(Window* owner, FontChoice& font)
{
    if (busy())
        return false;
    Showing showing(*this);
    FontChoice chosen = font;
    if (!runFont(owner, chosen) || chosen.face.empty() || chosen.height >= 0)
        return false;
    font = chosen;
    return true;
}

bool Dialogs::chooseColour(Window* owner, Colour& colour)
{
    if (busy())
        return false;
    Showing showing(*this);
    Colour chosen = colour;
    if (!runColour(owner, chosen))
        return false;
    colour = chosen;
    return true;
}

int32_t Dialogs::messageBox(Window* owner, const std::string& text, const std::string& caption, uint32_t style)
{
    if (busy())
        return kAnswerCancel;
    Showing showing(*this);
    return runMessageBox(owner, text, caption, style);
}

int32_t pointsToHeight(int32_t points)
{
    const int32_t magnitude = (std::abs(points) * 96 + 36) / 72;
    return points >= 0 ? -magnitude : magnitude;
}

int32_t heightToPoints(int32_t height)
{
    const int32_t magnitude = (std::abs(height) * 72 + 48) / 96;
    return height <= 0 ? magnitude : -magnitude;
}

std::string fileExtension(const std::string& path)
{
    const size_t name = path.find_last_of('/');
    const size_t start = name == std::string::npos ? 0 : name + 1;
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot <= start)
        return {};
    return path.substr(dot + 1);
}

std::string withDefaultExtension(const std::string& path, const std::string& extension)
{
    if (extension.empty() || path.empty() || path.back() == '/' || !fileExtension(path).empty())
        return path;
    return path + '.' + extension;
}

} // namespace platform
