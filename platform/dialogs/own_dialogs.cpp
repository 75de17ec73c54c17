#include "platform/dialogs/own_dialogs.h"

#include "platform/dialogs/dialog_window.h"
#include "platform/graphics/font_catalog.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace platform {

namespace {

constexpr int32_t kOk = 1;
constexpr int32_t kCancel = 2;
constexpr int32_t kYes = 3;
constexpr int32_t kNo = 4;

bool isFolder(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isFile(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string folderOf(const std::string& path)
{
    if (isFolder(path))
        return path;
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

std::string withoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

const char* defaultTitle(FileDialogKind kind)
{
    switch (kind) {
    case FileDialogKind::Save: return "Save As";
    case FileDialogKind::Folder: return "Select a folder";
    default: return "Open";
    }
}

// Buttons along the bottom right, the first the default.
void addButtons(DialogWindow& dialog, int32_t width, int32_t height,
                std::initializer_list<std::pair<const char*, int32_t>> buttons)
{
    int32_t right = width - 10;
    std::vector<std::pair<const char*, int32_t>> ordered(buttons);
    for (auto it = ordered.rbegin(); it != ordered.rend(); ++it)
        right -= 85;
    for (const auto& [text, result] : ordered) {
        dialog.addButton(rectOfSize(right + 10, height - 34, 75, 24), text, result);
        right += 85;
    }
}

} // namespace

bool ownFileDialog(WindowSystem& system, Window* owner, const FileDialogRequest& request,
                   std::vector<std::string>& paths)
{
    constexpr int32_t kWidth = 460;
    constexpr int32_t kHeight = 150;
    const bool folder = request.kind == FileDialogKind::Folder;
    DialogWindow dialog(system, owner, request.title.empty() ? defaultTitle(request.kind) : request.title, kWidth,
                        kHeight);
    dialog.addLabel(rectOfSize(10, 10, 440, 18), folder ? "Folder:" : "File name:");
    const std::string start = request.startPath.empty() ? std::string() : folderOf(request.startPath);
    std::string shown = request.startPath;
    if (isFolder(shown) && shown.back() != '/')
        shown += '/';
    const size_t entry = dialog.addEntry(rectOfSize(10, 30, 440, 22), shown);
    if (!folder && !request.filters.empty()) {
        const size_t index = static_cast<size_t>(std::clamp<int32_t>(request.filterIndex, 1,
                                                                     static_cast<int32_t>(request.filters.size())));
        dialog.addLabel(rectOfSize(10, 58, 440, 18), "Type: " + request.filters[index - 1].name);
    }
    const size_t status = dialog.addLabel(rectOfSize(10, 82, 440, 18), "");
    addButtons(dialog, kWidth, kHeight, {{"OK", kOk}, {"Cancel", kCancel}});
    dialog.focus(entry);

    std::string chosen;
    dialog.setAccept([&](int32_t result) {
        if (result != kOk)
            return true;
        std::string path = dialog.text(entry);
        if (!path.empty() && path.front() != '/' && !start.empty())
            path = withoutTrailingSlash(start) + '/' + path;
        const char* problem = nullptr;
        switch (request.kind) {
        case FileDialogKind::Folder:
            path = withoutTrailingSlash(path);
            if (!isFolder(path))
                problem = "This folder does not exist.";
            break;
        case FileDialogKind::Save:
            if (path.empty() || path.back() == '/' || isFolder(path))
                problem = "Type a file name.";
            else if (!isFolder(folderOf(path)))
                problem = "This folder does not exist.";
            break;
        default:
            if (!isFile(path))
                problem = "This file does not exist.";
        }
        if (problem) {
            dialog.setText(status, problem);
            return false;
        }
        chosen = path;
        return true;
    });
    if (dialog.run() != kOk)
        return false;
    paths.assign(1, chosen);
    return true;
}

bool ownFontDialog(WindowSystem& system, Window* owner, FontChoice& font)
{
    constexpr int32_t kWidth = 380;
    constexpr int32_t kHeight = 270;
    const std::vector<std::string> families = FontCatalog::process().families();
    int32_t current = 0;
    for (size_t i = 0; i < families.size(); ++i) {
        std::string a = families[i], b = font.face;
        std::transform(a.begin(), a.end(), a.begin(), ::tolower);
        std::transform(b.begin(), b.end(), b.begin(), ::tolower);
        if (a == b)
            current = static_cast<int32_t>(i);
    }
    DialogWindow dialog(system, owner, "Font", kWidth, kHeight);
    dialog.addLabel(rectOfSize(10, 8, 220, 18), "Font:");
    const size_t list = dialog.addList(rectOfSize(10, 28, 220, 196), families, current);
    dialog.addLabel(rectOfSize(245, 8, 120, 18), "Size:");
    const size_t size = dialog.addEntry(rectOfSize(245, 28, 60, 22), std::to_string(heightToPoints(font.height)));
    const size_t bold = dialog.addToggle(rectOfSize(245, 62, 120, 18), "Bold", font.weight > 400);
    const size_t italic = dialog.addToggle(rectOfSize(245, 86, 120, 18), "Italic", font.italic);
    const size_t status = dialog.addLabel(rectOfSize(245, 112, 130, 18), "");
    addButtons(dialog, kWidth, kHeight, {{"OK", kOk}, {"Cancel", kCancel}});
    dialog.focus(list);

    int32_t points = 0;
    dialog.setAccept([&](int32_t result) {
        if (result != kOk)
            return true;
        const std::string& text = dialog.text(size);
        points = 0;
        for (char c : text) {
            if (c < '0' || c > '9' || points > 999) {
                points = 0;
                break;
            }
            points = points * 10 + (c - '0');
        }
        if (points < 1 || points > 999 || dialog.selected(list) < 0) {
            dialog.setText(status, "Choose a size.");
            return false;
        }
        return true;
    });
    if (dialog.run() != kOk)
        return false;
    font.face = families[static_cast<size_t>(dialog.selected(list))];
    font.height = pointsToHeight(points);
    // A bold record keeps its own weight; turning bold on gives 700.
    if (!dialog.on(bold))
        font.weight = std::min(font.weight, 400);
    else if (font.weight <= 400)
        font.weight = 700;
    font.italic = dialog.on(italic);
    return true;
}

std::string colourToHex(Colour colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red, colour.green, colour.blue);
    return text;
}

bool colourFromHex(const std::string& text, Colour& colour)
{
    if (text.size() != 7 || text[0] != '#')
        return false;
    unsigned value = 0;
    for (size_t i = 1; i < 7; ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0)
            return false;
        value = value << 4 | static_cast<unsigned>(digit);
    }
    colour = rgb(uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value));
    return true;
}

bool ownColourDialog(WindowSystem& system, Window* owner, Colour& colour)
{
    constexpr int32_t kWidth = 260;
    constexpr int32_t kHeight = 110;
    DialogWindow dialog(system, owner, "Colour", kWidth, kHeight);
    dialog.addLabel(rectOfSize(10, 10, 240, 18), "Colour (#rrggbb):");
    const size_t entry = dialog.addEntry(rectOfSize(10, 30, 120, 22), colourToHex(colour));
    addButtons(dialog, kWidth, kHeight, {{"OK", kOk}, {"Cancel", kCancel}});
    dialog.focus(entry);
    Colour chosen = colour;
    dialog.setAccept([&](int32_t result) { return result != kOk || colourFromHex(dialog.text(entry), chosen); });
    if (dialog.run() != kOk)
        return false;
    colour = chosen;
    return true;
}

int32_t ownMessageBox(WindowSystem& system, Window* owner, const std::string& text, const std::string& caption,
                      uint32_t style)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    const int32_t width = 420;
    const int32_t height = 70 + 18 * static_cast<int32_t>(lines.size());
    DialogWindow dialog(system, owner, caption, width, height);
    for (size_t i = 0; i < lines.size(); ++i)
        dialog.addLabel(rectOfSize(14, 12 + 18 * static_cast<int32_t>(i), width - 28, 18), lines[i]);
    switch (style & kBoxButtonsMask) {
    case kBoxOkCancel: addButtons(dialog, width, height, {{"OK", kOk}, {"Cancel", kCancel}}); break;
    case kBoxYesNoCancel: addButtons(dialog, width, height, {{"Yes", kYes}, {"No", kNo}, {"Cancel", kCancel}}); break;
    case kBoxYesNo: addButtons(dialog, width, height, {{"Yes", kYes}, {"No", kNo}}); break;
    default: addButtons(dialog, width, height, {{"OK", kOk}});
    }
    const uint32_t buttons = style & kBoxButtonsMask;
    switch (dialog.run()) {
    case kOk: return kAnswerOk;
    case kYes: return kAnswerYes;
    case kNo: return kAnswerNo;
    case kCancel: return kAnswerCancel;
    default:
        // Escape or closing: Cancel where there is one, else the box's only "no".
        if (buttons == kBoxYesNo)
            return kAnswerNo;
        return buttons == kBoxOk ? kAnswerOk : kAnswerCancel;
    }
}

} // namespace platform
