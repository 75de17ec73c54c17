#include "platform/dialogs/dialog_helpers.h"

#include "platform/dialogs/own_dialogs.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace platform {

namespace {

bool isFolder(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Both programs open a folder's contents only when its name ends in '/'.
std::string startName(const std::string& path)
{
    if (isFolder(path) && path.back() != '/')
        return path + '/';
    return path;
}

std::string joinedPatterns(const FileFilter& filter, char separator)
{
    std::string patterns;
    if (filter.extensions.empty())
        return "*";
    for (const std::string& extension : filter.extensions) {
        if (!patterns.empty())
            patterns += separator;
        patterns += caseBlindPattern(extension);
    }
    return patterns;
}

// Names keep clear of the programs' separators.
std::string filterName(std::string name, const char* reserved)
{
    for (char& c : name)
        if (std::strchr(reserved, c))
            c = ' ';
    return name;
}

} // namespace

std::string caseBlindPattern(const std::string& extension)
{
    if (extension.empty())
        return "*";
    std::string pattern = "*.";
    for (char c : extension) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (std::isalpha(u)) {
            pattern += '[';
            pattern += static_cast<char>(std::tolower(u));
            pattern += static_cast<char>(std::toupper(u));
            pattern += ']';
        } else if (c == '*' || c == '?' || c == '[' || c == ']') {
            pattern += '[';
            pattern += c;
            pattern += ']';
        } else {
            pattern += c;
        }
    }
    return pattern;
}

std::vector<FileFilter> filtersInOrder(const FileDialogRequest& request)
{
    std::vector<FileFilter> ordered = request.filters;
    const int32_t selected = request.filterIndex - 1;
    if (selected > 0 && selected < static_cast<int32_t>(ordered.size()))
        std::rotate(ordered.begin(), ordered.begin() + selected, ordered.begin() + selected + 1);
    return ordered;
}

std::vector<std::string> fileArguments(DialogProgram program, const FileDialogRequest& request)
{
    const std::vector<FileFilter> filters = request.kind == FileDialogKind::Folder
                                                ? std::vector<FileFilter>{}
                                                : filtersInOrder(request);
    std::vector<std::string> args;
    if (program == DialogProgram::Zenity) {
        args = {"zenity", "--file-selection"};
        if (!request.title.empty())
            args.push_back("--title=" + request.title);
        switch (request.kind) {
        case FileDialogKind::OpenSeveral: args.insert(args.end(), {"--multiple", "--separator=\n"}); break;
        case FileDialogKind::Save: args.push_back("--save"); break;
        case FileDialogKind::Folder: args.push_back("--directory"); break;
        case FileDialogKind::Open: break;
        }
        if (!request.startPath.empty())
            args.push_back("--filename=" + startName(request.startPath));
        for (const FileFilter& filter : filters)
            args.push_back("--file-filter=" + filterName(filter.name, "|") + " | " + joinedPatterns(filter, ' '));
        return args;
    }
    args = {"kdialog"};
    if (!request.title.empty())
        args.insert(args.end(), {"--title", request.title});
    const std::string start = request.startPath.empty() ? std::string(".") : startName(request.startPath);
    std::string filter;
    for (const FileFilter& f : filters) {
        if (!filter.empty())
            filter += '\n';
        filter += joinedPatterns(f, ' ') + '|' + filterName(f.name, "|\n");
    }
    switch (request.kind) {
    case FileDialogKind::Open: args.insert(args.end(), {"--getopenfilename", start, filter}); break;
    case FileDialogKind::OpenSeveral:
        args.insert(args.end(), {"--getopenfilename", start, filter, "--multiple", "--separate-output"});
        break;
    case FileDialogKind::Save: args.insert(args.end(), {"--getsavefilename", start, filter}); break;
    case FileDialogKind::Folder: args.insert(args.end(), {"--getexistingdirectory", start}); break;
    }
    return args;
}

std::vector<std::string> parsePaths(const std::string& output)
{
    std::vector<std::string> paths;
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            paths.push_back(std::move(line));
        start = end + 1;
    }
    return paths;
}

std::vector<std::string> colourArguments(DialogProgram program, Colour start)
{
    if (program == DialogProgram::Zenity)
        return {"zenity", "--color-selection", "--color=" + colourToHex(start)};
    return {"kdialog", "--getcolor", "--default", colourToHex(start)};
}

bool parseColour(const std::string& output, Colour& colour)
{
    std::string text = output;
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.pop_back();
    if (!text.empty() && text[0] == '#')
        return colourFromHex(text, colour);
    int r = -1, g = -1, b = -1;
    double a = 0;
    char close = 0;
    const bool read = std::sscanf(text.c_str(), "rgb(%d,%d,%d%c", &r, &g, &b, &close) == 4 ||
                      std::sscanf(text.c_str(), "rgba(%d,%d,%d,%lf%c", &r, &g, &b, &a, &close) == 5;
    if (!read || close != ')' || r < 0 || r > 255 || g < 0 || g > 255 || b < 0 || b > 255)
        return false;
    colour = rgb(uint8_t(r), uint8_t(g), uint8_t(b));
    return true;
}

std::vector<std::string> messageArguments(DialogProgram program, const std::string& text,
                                          const std::string& caption, uint32_t style)
{
    const uint32_t buttons = style & kBoxButtonsMask;
    const uint32_t icon = style & kBoxIconMask;
    if (program == DialogProgram::Zenity) {
        std::vector<std::string> args{"zenity"};
        switch (buttons) {
        case kBoxYesNo: args.push_back("--question"); break;
        case kBoxYesNoCancel: args.insert(args.end(), {"--question", "--extra-button=Cancel"}); break;
        case kBoxOkCancel: args.insert(args.end(), {"--question", "--ok-label=OK", "--cancel-label=Cancel"}); break;
        default:
            args.push_back(icon == 0x10 ? "--error" : icon == kBoxIconWarning ? "--warning" : "--info");
        }
        args.insert(args.end(), {"--no-markup", "--title=" + caption, "--text=" + text});
        return args;
    }
    std::vector<std::string> args{"kdialog", "--title", caption};
    switch (buttons) {
    case kBoxYesNo: args.insert(args.end(), {"--yesno", text}); break;
    case kBoxYesNoCancel: args.insert(args.end(), {"--yesnocancel", text}); break;
    case kBoxOkCancel: args.insert(args.end(), {"--yesno", text, "--yes-label", "OK", "--no-label", "Cancel"}); break;
    default: args.insert(args.end(), {icon == 0x10 ? "--error" : icon == kBoxIconWarning ? "--sorry" : "--msgbox", text});
    }
    return args;
}

int32_t messageAnswer(DialogProgram program, uint32_t style, int exitStatus, const std::string& output)
{
    switch (style & kBoxButtonsMask) {
    case kBoxYesNo: return exitStatus == 0 ? kAnswerYes : kAnswerNo;
    case kBoxOkCancel: return exitStatus == 0 ? kAnswerOk : kAnswerCancel;
    case kBoxYesNoCancel:
        if (exitStatus == 0)
            return kAnswerYes;
        if (program == DialogProgram::Kdialog)
            return exitStatus == 1 ? kAnswerNo : kAnswerCancel;
        // zenity prints the label of its extra button (Cancel).
        return exitStatus == 1 && parsePaths(output).empty() ? kAnswerNo : kAnswerCancel;
    default: return kAnswerOk;
    }
}

} // namespace platform
