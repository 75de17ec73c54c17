#pragma once
// What the web page, popup and viewer tests share: the program's help file
// written from the embedded archive (once per test program), small archives
// of pages made for one test, a headless window that hosts a page and
// records what is posted to it, and a stand-in xdg-open on PATH.

#include "common/cwebpage.h"
#include "common/help_address.h"
#include "common/help_file.h"
#include "model/scratch_folder.h"
#include "platform/graphics/font_catalog.h"
#include "platform/headless/headless_window.h"
#include "platform/posted_message.h"
#include "platform/system/folders.h"
#include "resources/help/embedded_help.h"
#include "resources/product_font.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

// The program's own help, as the help file thread writes it; the product
// font registered as the editor does.
// Both go, folder and all, when the test program ends.
inline const std::string& programHelpFile()
{
    static ScratchFolder folder;
    static help::HelpFile file(folder.path(), resources::helpArchive());
    static const bool ready = [] {
        resources::registerProductFont(platform::FontCatalog::process(), folder.path());
        return file.waitUntilWritten(std::chrono::seconds(30));
    }();
    EXPECT_TRUE(ready);
    return file.path();
}

inline std::string programPage(const char* page)
{
    return help::formatAddress(programHelpFile(), page);
}

// An archive of the given files (name -> bytes), zipped with zip(1).
inline std::string makeArchive(const ScratchFolder& folder, const std::map<std::string, std::string>& pages)
{
    EXPECT_TRUE(outside_tools::have({"zip"}));
    std::string command = "cd '" + folder.path() + "' && zip -q -X pages.zip";
    for (const auto& [name, markup] : pages) {
        if (const size_t slash = name.rfind('/'); slash != std::string::npos)
            platform::makeFolders(folder.file(name.substr(0, slash)));
        folder.write(name, markup);
        command += " '" + name + "'";
    }
    EXPECT_EQ(std::system(command.c_str()), 0);
    return folder.file("pages.zip");
}

// A top-level headless window that hands its messages to its page and keeps
// the messages posted to it.
struct PageWindow : platform::WindowHandler {
    explicit PageWindow(platform::HeadlessWindowSystem& system, platform::Rect rect = {0, 0, 640, 480})
    {
        platform::WindowOptions options;
        options.kind = platform::WindowOptions::Kind::TopLevel;
        options.rect = rect;
        options.handler = this;
        window = system.createWindow(options);
    }
    ~PageWindow()
    {
        if (window)
            web::removeBrowser(*window);
    }

    bool handleMessage(platform::Window& w, platform::WindowMessage& message) override
    {
        if (web::browserMessage(w, message))
            return true;
        if (message.kind == platform::MessageKind::User)
            posted.push_back({platform::postedMessage(message.param), platform::postedWord(message.param)});
        return message.kind == platform::MessageKind::Paint;
    }

    web::WebView& view() { return *web::getBrowser(*window); }

    std::unique_ptr<platform::Window> window;
    std::vector<std::pair<uint32_t, uint32_t>> posted;   // message, word
};

// An xdg-open of the test's own, first on PATH while it lives: each run adds
// a line to a log: the number of its arguments, then each argument, all
// separated by '|'.
class StandInBrowser {
public:
    StandInBrowser()
    {
        const std::string script = "#!/bin/sh\nline=\"$#\"\nfor a in \"$@\"; do line=\"$line|$a\"; done\n"
                                   "printf '%s\\n' \"$line\" >> '" + folder_.file("log") + "'\n";
        folder_.write("xdg-open", script);
        chmod(folder_.file("xdg-open").c_str(), 0700);
        const char* path = std::getenv("PATH");
        saved_ = path ? path : "";
        setenv("PATH", (folder_.path() + ":" + saved_).c_str(), 1);
    }
    ~StandInBrowser() { setenv("PATH", saved_.c_str(), 1); }

    // The log's lines once a run has written one (the program runs
    // detached), or none after a generous wait.
    std::vector<std::string> waitForRun() const
    {
        for (int i = 0; i < 1000 && lines().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return lines();
    }

private:
    // Whole lines only: a run may be writing the last one.
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        const std::string text = readWholeFile(folder_.file("log"));
        for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
            out.push_back(text.substr(at, end - at));
        return out;
    }

    ScratchFolder folder_;
    std::string saved_;
};
