// The Host program with its window, on an Xvfb of the test's own, with the
// real plug-in library and a JACK dummy server as its sound card: the test
// plays the user from a second connection, clicking and typing through
// XTest, and reads what the server shows. The desktop's dialog programs are
// kept off PATH, so the dialogs are the program's own; the tests of the
// first hour put a stand-in zenity there and openbox on the screen.

#include "gui/dialogs/dialog_template.h"
#include "host/audio/audio_output.h"
#include "host/audio/wav_file.h"
#include "host/caption.h"
#include "host/host_bitmaps.h"
#include "host_process.h"
#include "platform/system/folders.h"
#include "support/jack_dummy_server.h"
#include "support/recording_zenity.h"
#include "wav_bytes.h"

// Last: Xlib's macros would rename names of the headers above.
#include "gui/x11_fixture.h"
#include "support/window_manager.h"

#include <cctype>
#include <chrono>
#include <functional>
#include <sys/stat.h>
#include <thread>

namespace {

using platform::Point;
using platform::Rect;

using hosttest::eventually;
using hosttest::kWindowReady;

class HostWindowProgramTest : public X11Test {
protected:
    void SetUp() override
    {
        X11Test::SetUp();
        // The program's windows come and go while the test looks at them.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        // A folder of the test's own: the program keeps its temporary folder tidy.
        char name[] = "/tmp/qb-host-window-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        mkdir((folder + "/bin").c_str(), 0700);
        ASSERT_TRUE(platform::makeFolders("screenshots"));
        ASSERT_TRUE(outside_tools::have({"jackd"}));
        sound = std::make_unique<JackDummyServer>(2, 44100);
        ASSERT_TRUE(sound->ready()) << "jackd did not start";
    }

    void TearDown() override
    {
        program.reset();
        sound.reset();
        X11Test::TearDown();
        std::system(("rm -rf '" + folder + "'").c_str());
    }

    // With the JACK server of this name (the test's own unless given).
    void startProgram(const std::string& jackServer = {})
    {
        // PATH holds the bin folder alone: no zenity, no kdialog but a stand-in.
        program = std::make_unique<hosttest::HostProcess>(
            std::vector<std::string>{},
            std::vector<std::pair<std::string, std::string>>{
                {"DISPLAY", server->name()},
                {"PATH", folder + "/bin"},
                {"XDG_CONFIG_HOME", folder},
                {"JACK_DEFAULT_SERVER", jackServer.empty() ? sound->environment().second : jackServer}});
    }
    void start()
    {
        startProgram();
        ASSERT_TRUE(program->waitFor(kWindowReady)) << program->output();
    }

    // The mapped top-level window with this class or title; 0 when none. A
    // window manager's frame is looked into: the window is its child.
    ::Window topLevel(const char* className, const char* title = nullptr, ::Window under = 0, int depth = 0)
    {
        ::Window root = 0, parent = 0, *children = nullptr, found = 0;
        unsigned int count = 0;
        XQueryTree(host, under ? under : DefaultRootWindow(host), &root, &parent, &children, &count);
        for (unsigned int i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes{};
            if (!XGetWindowAttributes(host, children[i], &attributes) || attributes.map_state != IsViewable)
                continue;
            if ((className && classOf(children[i]) != className) || (title && titleOf(children[i]) != title)) {
                if (depth == 0 && classOf(children[i]).empty())
                    found = topLevel(className, title, children[i], 1);
                continue;
            }
            found = children[i];
        }
        if (children)
            XFree(children);
        return found;
    }

    std::vector<::Window> childrenOf(::Window w)
    {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        std::vector<::Window> out;
        if (XQueryTree(host, w, &root, &parent, &children, &count))
            out.assign(children, children + count);
        if (children)
            XFree(children);
        return out;
    }

    std::string classOf(::Window w)
    {
        XClassHint hint{};
        if (!XGetClassHint(host, w, &hint))
            return {};
        std::string name = hint.res_class ? hint.res_class : "";
        XFree(hint.res_name);
        XFree(hint.res_class);
        return name;
    }

    std::string titleOf(::Window w)
    {
        char* name = nullptr;
        std::string title;
        if (XFetchName(host, w, &name) && name)
            title = name;
        if (name)
            XFree(name);
        return title;
    }

    // Position in the parent and size.
    Rect placeOf(::Window w)
    {
        XWindowAttributes a{};
        XGetWindowAttributes(host, w, &a);
        return platform::rectOfSize(a.x, a.y, a.width, a.height);
    }

    Point screenOf(::Window w, Point at)
    {
        int sx = 0, sy = 0;
        ::Window child = 0;
        XTranslateCoordinates(host, w, DefaultRootWindow(host), at.x, at.y, &sx, &sy, &child);
        return {sx, sy};
    }

    void click(::Window w, Point at) { clickAt(screenOf(w, at)); }
    void shifted(KeySym sym)
    {
        key(XK_Shift_L, true);
        tap(sym);
        key(XK_Shift_L, false);
    }
    void type(const std::string& text)
    {
        for (char c : text) {
            const std::string name = c == '/' ? "slash" : c == '.' ? "period" : c == '-' ? "minus" : std::string(1, c);
            const KeySym sym = XStringToKeysym(name.c_str());
            std::isupper(static_cast<unsigned char>(c)) ? shifted(sym) : tap(sym);
        }
    }

    // The keyboard focus is in the window or one of its children.
    bool focusIn(::Window w)
    {
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(host, &focus, &revert);
        for (; focus && focus != PointerRoot && focus != DefaultRootWindow(host);) {
            if (focus == w)
                return true;
            ::Window root = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            if (!XQueryTree(host, focus, &root, &parent, &children, &count))
                return false;
            if (children)
                XFree(children);
            focus = parent;
        }
        return false;
    }

    void askToClose(::Window w)
    {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = w;
        event.xclient.message_type = XInternAtom(host, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(host, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(host, w, False, NoEventMask, &event);
        XSync(host, False);
    }

    // The slider's track in the window shows these rows of bitmap 107.
    bool trackShows(::Window w, int x0, int sourceTop)
    {
        const platform::Image shown = grab(w);
        const platform::Image slider = host::loadHostBitmap(host::kVolumeSliderBitmap);
        for (int row = 0; row < 18; ++row)
            for (int col = 0; col < 77; ++col)
                if (!(shown.pixelAt(x0 + col, 10 + row) == slider.pixelAt(col, sourceTop + row)))
                    return false;
        return true;
    }

    // Shift+F10 with the focus on the window (x0: the slider's left), and the
    // path typed into the save dialog; the dialog, 0 when it did not come.
    ::Window exportTo(::Window main, int x0, const std::string& path)
    {
        click(main, {x0 - 40, 19});   // the focus back on the window
        if (!eventually([&] { return focusIn(main); }))
            return 0;
        shifted(XK_F10);
        ::Window chooser = 0;
        if (!eventually([&] { return (chooser = topLevel("QuorbelDialog", "Export to wav...")) != 0; }) ||
            !eventually([&] { return focusIn(chooser); }))
            return 0;
        type(path);
        tap(XK_Return);
        return chooser;
    }

    // A copy of the program with the temporary folder of every copy the
    // test starts.
    std::unique_ptr<hosttest::HostProcess> startCopy()
    {
        const std::string runtime = folder + "/run";
        mkdir(runtime.c_str(), 0700);
        auto copy = std::make_unique<hosttest::HostProcess>(
            std::vector<std::string>{},
            std::vector<std::pair<std::string, std::string>>{{"DISPLAY", server->name()},
                                                             {"PATH", folder + "/bin"},
                                                             {"XDG_CONFIG_HOME", folder},
                                                             {"XDG_RUNTIME_DIR", runtime},
                                                             sound->environment()});
        EXPECT_TRUE(copy->waitFor(kWindowReady)) << copy->output();
        return copy;
    }

    std::string folder;
    std::unique_ptr<JackDummyServer> sound;
    std::unique_ptr<hosttest::HostProcess> program;
};

} // namespace

TEST_F(HostWindowProgramTest, TheWindowItsDialogsTheExportAndTheQuitQuestion)
{
    start();
    ::Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = topLevel("QuorbelHost")) != 0; })) << program->output();
    EXPECT_EQ(titleOf(main), "Quorbel");
    EXPECT_NE(program->output().find("HOST> Open editor...\nHOST> Get editor rect..\n"), std::string::npos);

    // The toolbar at 0,0, the MDI client under it, the editor window filling it.
    ::Window client = 0, toolbar = 0;
    for (::Window child : childrenOf(main))
        (classOf(child) == "MDIClient" ? client : toolbar) = child;
    ASSERT_NE(client, 0u);
    const Rect frame = placeOf(main);
    ASSERT_NE(toolbar, 0u);
    EXPECT_EQ(frame.width(), 893);
    EXPECT_EQ(frame.height(), 621);
    EXPECT_EQ(placeOf(toolbar), (Rect{0, 0, 493, 36}));
    EXPECT_EQ(placeOf(client), (Rect{0, 36, 893, 621}));
    EXPECT_TRUE(eventually([&] {
        const auto inside = childrenOf(client);
        return !inside.empty() && placeOf(inside.back()) == Rect{0, 0, 893, 585};
    })) << "the editor window does not fill the MDI client";

    // The volume slider: empty at x0 + 1, full at x0 + 76.
    const int x0 = host::CaptionLayout{frame.width(), false}.slider().left;
    click(main, {x0 + 1, 19});
    ASSERT_TRUE(eventually([&] { return focusIn(main); }));
    EXPECT_TRUE(eventually([&] { return trackShows(main, x0, 18); })) << "no empty track";
    click(main, {x0 + 76, 19});
    EXPECT_TRUE(eventually([&] { return trackShows(main, x0, 0); })) << "no full track";
    // Painted now, as the track shows.
    EXPECT_TRUE(grab(main).writePng("screenshots/host_window.png"));

    // Shift+F12: the audio settings; Cancel closes them.
    shifted(XK_F12);
    ::Window settings = 0;
    ASSERT_TRUE(eventually([&] { return (settings = topLevel("QuorbelDialog", "Audio Settings")) != 0; }));
    // The dialog over the window, as a person sees the screen.
    EXPECT_TRUE(eventually([&] { return grab(settings).pixelAt(10, 10) == platform::rgb(224, 224, 220); }));
    EXPECT_TRUE(grab(DefaultRootWindow(host)).writePng("screenshots/host_audio_settings.png"));
    const CRect cancel = dialogUnitsToPixels({168, 198, 50, 14});
    ::Window settingsFrame = childrenOf(settings).front();
    click(settingsFrame, {(cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2});
    EXPECT_TRUE(eventually([&] { return topLevel("QuorbelDialog", "Audio Settings") == 0; }));

    // Shift+F10: our own save dialog; the typed path becomes a WAV file.
    const std::string path = folder + "/export.wav";
    ASSERT_NE(exportTo(main, x0, path), 0u);


    EXPECT_TRUE(eventually([&] { return titleOf(main).rfind("Export complete [", 0) == 0; }, 60))
        << titleOf(main) << program->output();
    const std::string wav = readWholeFile(path);
    ASSERT_GE(wav.size(), host::kWavHeaderSize);
    EXPECT_EQ(hosttest::le32(wav, 4), wav.size() - 8);
    EXPECT_EQ(hosttest::le32(wav, 40), wav.size() - host::kWavHeaderSize);
    EXPECT_EQ(wav.size() % host::kWavFrameBytes, host::kWavHeaderSize % host::kWavFrameBytes);
    std::remove(path.c_str());

    // Closing asks first: No keeps the window, Yes ends the program.
    const auto answer = [&](bool yes) {
        askToClose(main);
        ::Window box = 0;
        ASSERT_TRUE(eventually([&] { return (box = topLevel("QuorbelDialog", "Quorbel")) != 0; }));
        const Rect r = placeOf(box);
        // The box's buttons, Yes then No, 75 wide, along its bottom right.
        click(box, {r.width() - 10 - (yes ? 160 : 75) + 37, r.height() - 22});
        ASSERT_TRUE(eventually([&] { return topLevel("QuorbelDialog", "Quorbel") == 0; }));
    };
    answer(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_TRUE(program->running());
    EXPECT_NE(topLevel("QuorbelHost"), 0u);
    answer(true);
    EXPECT_EQ(program->wait(), 0) << program->output();
    EXPECT_NE(program->output().find("HOST> Close editor..\nHOST> Shutting down...\n"), std::string::npos)
        << program->output();
}

// An export onto a full disk (a name linked to the device that is always
// full) says so in the title instead of claiming success; the device, no
// plain file, stays.
TEST_F(HostWindowProgramTest, AnExportOntoAFullDiskSaysItFailed)
{
    struct stat device {};
    if (stat("/dev/full", &device) != 0 || !S_ISCHR(device.st_mode))
        GTEST_SKIP() << "no /dev/full here";
    const std::string path = folder + "/full.wav";
    ASSERT_EQ(symlink("/dev/full", path.c_str()), 0);
    start();
    ::Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = topLevel("QuorbelHost")) != 0; })) << program->output();
    const int x0 = host::CaptionLayout{placeOf(main).width(), false}.slider().left;
    const ::Window chooser = exportTo(main, x0, path);
    ASSERT_NE(chooser, 0u);
    // "full.wav already exists": replace it.
    ::Window question = 0;
    ASSERT_TRUE(eventually([&] {
        ::Window root = 0, parent = 0, *children = nullptr;
        unsigned int count = 0;
        XQueryTree(host, DefaultRootWindow(host), &root, &parent, &children, &count);
        for (unsigned int i = 0; i < count && !question; ++i) {
            XWindowAttributes attributes{};
            if (children[i] != chooser && XGetWindowAttributes(host, children[i], &attributes) &&
                attributes.map_state == IsViewable && classOf(children[i]) == "QuorbelDialog" &&
                titleOf(children[i]) == "Export to wav...")
                question = children[i];
        }
        if (children)
            XFree(children);
        return question != 0;
    })) << program->output();
    const Rect r = placeOf(question);
    click(question, {r.width() - 10 - 160 + 37, r.height() - 22});

    EXPECT_TRUE(eventually([&] { return titleOf(main) == "Export failed: No space left on device."; }, 60))
        << titleOf(main) << program->output();
    ASSERT_EQ(stat("/dev/full", &device), 0);
    EXPECT_TRUE(S_ISCHR(device.st_mode));
    EXPECT_EQ(stat(path.c_str(), &device), 0);
}

// Under a window manager the user narrows the window as far as it goes: the
// volume slider, the export and the settings buttons stay clear of the toolbar.
TEST_F(HostWindowProgramTest, NarrowedAsFarAsItGoesTheWindowKeepsItsControlsClearOfTheToolbar)
{
    WindowManager manager(server->name());
    ASSERT_TRUE(manager.running()) << "openbox did not start managing windows";
    start();
    // Managed, the window sits in the manager's frame.
    ::Window main = 0;
    ASSERT_TRUE(eventually([&] {
        for (::Window frame : childrenOf(DefaultRootWindow(host)))
            for (::Window inside : childrenOf(frame))
                if (classOf(inside) == "QuorbelHost")
                    main = inside;
        return main != 0;
    })) << program->output();
    ::Window toolbar = 0;
    for (::Window child : childrenOf(main))
        if (classOf(child) != "MDIClient")
            toolbar = child;
    ASSERT_NE(toolbar, 0u);
    const int toolbarRight = placeOf(toolbar).right;

    XResizeWindow(host, main, 400, 300);   // as a drag of the frame's edge asks
    XSync(host, False);
    ASSERT_TRUE(eventually([&] { return placeOf(main).width() < 893; })) << placeOf(main).width();
    const int width = placeOf(main).width();
    EXPECT_EQ(width, host::minimumCaptionWidth(toolbarRight));
    const int x0 = host::CaptionLayout{width, false}.slider().left;
    EXPECT_GT(x0, toolbarRight);
    click(main, {x0 + 76, 19});
    EXPECT_TRUE(eventually([&] { return trackShows(main, x0, 0); })) << "the track is hidden";
    EXPECT_TRUE(grab(main).writePng("screenshots/host_window_narrowest.png"));
    program->signal(SIGTERM);
    EXPECT_EQ(program->wait(), 0) << program->output();
}

TEST_F(HostWindowProgramTest, ATerminationRequestEndsItAsAConfirmedQuit)
{
    start();
    ASSERT_TRUE(eventually([&] { return topLevel("QuorbelHost") != 0; })) << program->output();
    program->signal(SIGTERM);
    EXPECT_EQ(program->wait(), 0) << program->output();
    EXPECT_NE(program->output().find("HOST> Close editor..\nHOST> Shutting down...\n"), std::string::npos)
        << program->output();
    // The settings were written at the end.
    EXPECT_TRUE(platform::fileExists(folder + "/Quorbel/Host.ini"));
}

// Two copies side by side with one temporary folder: the second opening and
// closing its editor takes nothing the first still draws with. The first
// then opens the key reference, help and every page.
TEST_F(HostWindowProgramTest, ASecondCopyClosingLeavesTheFirstWhole)
{
    program = startCopy();
    ::Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = topLevel("QuorbelHost")) != 0; })) << program->output();
    {
        auto second = startCopy();
        ASSERT_TRUE(eventually([&] {
            ::Window root = 0, parent = 0, *children = nullptr;
            unsigned int count = 0, hosts = 0;
            XQueryTree(host, DefaultRootWindow(host), &root, &parent, &children, &count);
            for (unsigned int i = 0; i < count; ++i)
                hosts += classOf(children[i]) == "QuorbelHost";
            if (children)
                XFree(children);
            return hosts == 2;
        })) << second->output();
        second->signal(SIGTERM);
        ASSERT_EQ(second->wait(), 0) << second->output();
        EXPECT_NE(second->output().find("HOST> Close editor.."), std::string::npos) << second->output();
    }
    ASSERT_TRUE(program->running());

    // A click on the pattern editor gives the editor the keys.
    const Point inEditor{400, 300};
    click(main, inEditor);
    ASSERT_TRUE(eventually([&] { return focusIn(main); }));
    const auto alive = [&](const char* after) {
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        EXPECT_TRUE(program->running()) << after << "\n" << program->output();
    };
    shifted(XK_F1);   // the key reference, made with the product font
    alive("Shift+F1");
    EXPECT_TRUE(grab(DefaultRootWindow(host)).writePng("screenshots/host_second_copy_key_reference.png"));
    click(main, inEditor);   // closes the key reference
    click(main, inEditor);
    tap(XK_F1);
    alive("F1");
    click(main, inEditor);   // back from the help viewer
    for (KeySym page : {XK_F3, XK_F4, XK_F5, XK_F11, XK_F12, XK_F2}) {
        tap(page);
        alive(XKeysymToString(page));
        if (page == XK_F12) {
            EXPECT_TRUE(grab(DefaultRootWindow(host)).writePng("screenshots/host_second_copy_pages.png"));
        }
    }
    ASSERT_TRUE(program->running());
    program->signal(SIGTERM);
    EXPECT_EQ(program->wait(), 0) << program->output();
}

namespace {

// The Host as a new user meets it: openbox manages the windows and the
// desktop's dialogs are a stand-in zenity that records each call and gives
// the answers the test set for it.
class HostFirstHourTest : public HostWindowProgramTest {
protected:
    void SetUp() override
    {
        HostWindowProgramTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(outside_tools::have({"openbox"}));
        manager = std::make_unique<WindowManager>(server->name());
        ASSERT_TRUE(manager->running()) << "openbox did not start managing windows";
        zenity = std::make_unique<RecordingZenity>(folder + "/bin");
    }
    void TearDown() override
    {
        program.reset();
        manager.reset();
        HostWindowProgramTest::TearDown();
    }

    void pressCtrl(KeySym sym)
    {
        key(XK_Control_L, true);
        tap(sym);
        key(XK_Control_L, false);
    }
    // A click on the window's strip, beside its controls: the keys go on
    // to the editor, whose cursor stays where it is.
    void focusEditor(::Window main)
    {
        const int x0 = host::CaptionLayout{placeOf(main).width(), false}.slider().left;
        click(main, {x0 - 40, 19});
        ASSERT_TRUE(eventually([&] { return focusIn(main); }));
    }
    // A note key typed at the cursor on the top row, again until the pattern
    // editor shows the cursor a row further down: the splash takes the
    // first key and dims the page while it fades.
    void typeNote(::Window main, KeySym sym)
    {
        // The cursor's row number stands on a light ground; rows are 10 high
        // from 74.
        const std::function<bool(int)> cursorOnRow = [&](int row) {
            const platform::Image shown = grab(main);
            const auto light = [&](int top) {
                int count = 0;
                for (int y = top + 1; y < top + 9; ++y)
                    for (int x = 0; x < 20; ++x) {
                        const platform::Colour c = shown.pixelAt(x, y);
                        count += c.red > 200 && c.green > 200 && c.blue > 200;
                    }
                return count > 40;
            };
            return light(74 + 10 * row) && !light(74 + 10 * (1 - row));
        };
        focusEditor(main);
        tap(XK_Shift_L);   // ends the splash, else nothing
        if (!eventually([&] { return cursorOnRow(0); }))
            grab(main).writePng("screenshots/host_note_not_shown.png");
        ASSERT_TRUE(cursorOnRow(0)) << "the page does not show its cursor";
        bool moved = false;
        for (int attempt = 0; attempt < 3 && !moved; ++attempt) {
            tap(sym);
            moved = eventually([&] { return cursorOnRow(1); }, 5);
        }
        if (!moved)
            grab(main).writePng("screenshots/host_note_not_shown.png");
        ASSERT_TRUE(moved) << "the note does not show";
    }

    // The song file's document.
    std::string moduleXml(const std::string& zip)
    {
        const std::string out = folder + "/Module.xml";
        std::remove(out.c_str());
        if (std::system(("unzip -p '" + zip + "' Module.xml > '" + out + "' 2>/dev/null").c_str()) != 0)
            return {};
        return readWholeFile(out);
    }

    std::unique_ptr<WindowManager> manager;
    std::unique_ptr<RecordingZenity> zenity;
};

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

} // namespace

// Without a device Play would light up and nothing be heard: a box says so
// at start (drawn by the program without zenity, the desktop's with it).
TEST_F(HostFirstHourTest, WithoutADeviceABoxSaysSoAtStart)
{
    const std::string nowhere = "qbtest-no-such-server";
    std::remove((folder + "/bin/zenity").c_str());
    startProgram(nowhere);
    ::Window box = 0;
    ASSERT_TRUE(eventually([&] { return (box = topLevel("QuorbelDialog", "Quorbel")) != 0; })) << program->output();
    EXPECT_TRUE(eventually([&] { return !(grab(box).pixelAt(10, 10) == platform::rgb(0, 0, 0)); }));
    EXPECT_TRUE(grab(DefaultRootWindow(host)).writePng("screenshots/host_no_audio_device.png"));
    const Rect r = placeOf(box);
    click(box, {r.width() - 10 - 75 + 37, r.height() - 22});   // OK
    ASSERT_TRUE(program->waitFor(kWindowReady)) << program->output();
    program->signal(SIGTERM);
    EXPECT_EQ(program->wait(), 0) << program->output();

    zenity = std::make_unique<RecordingZenity>(folder + "/bin");
    startProgram(nowhere);
    EXPECT_EQ(zenity->waitForCall(1), std::string("--warning\n--no-markup\n--title=Quorbel\n--text=") +
                                          host::kNoAudioDevice + "\n");
    ASSERT_TRUE(program->waitFor(kWindowReady)) << program->output();
    EXPECT_TRUE(has(program->output(), "HOST> No audio device could be opened; running silent.\n"));
    program->signal(SIGTERM);
    EXPECT_EQ(program->wait(), 0) << program->output();
}

// A note typed, then Ctrl+O and closing the window: each asks whether to
// save the edited song first, Cancel keeps it, No lets the edit go, Yes
// saves as Ctrl+S does; a song just loaded or saved asks nothing of it.
TEST_F(HostFirstHourTest, AnEditedSongIsOfferedForSavingBeforeItGoes)
{
    const std::string song = folder + "/song.zip";
    const std::string question = "--question\n--extra-button=Cancel\n--no-markup\n";
    const std::string saveChanges = "--text=Save changes to the current module?\n";
    start();
    ::Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = topLevel("QuorbelHost")) != 0; })) << program->output();
    // With a sound card nothing is asked at start.
    EXPECT_TRUE(has(program->output(), "Driver: [JACK Audio Connection Kit] system @ 44100 Hz")) << program->output();
    EXPECT_FALSE(zenity->called(1));

    typeNote(main, XK_q);
    EXPECT_TRUE(grab(main).writePng("screenshots/host_edited_song.png"));

    // Cancel: nothing opens, the song stays edited.
    zenity->answerCancel(1);
    pressCtrl(XK_o);
    EXPECT_EQ(zenity->waitForCall(1), question + "--title=Open Module...\n" + saveChanges);
    ASSERT_TRUE(zenity->waitForAnswer(1));
    // Yes: a name is asked for (the song has none), the song saved, then opened.
    zenity->answerYes(2);
    zenity->answer(3, 0, song + "\n");
    zenity->answer(4, 0, song + "\n");
    pressCtrl(XK_o);
    EXPECT_EQ(zenity->waitForCall(2), question + "--title=Open Module...\n" + saveChanges);
    EXPECT_TRUE(has(zenity->waitForCall(3), "--save\n")) << zenity->waitForCall(3);
    EXPECT_TRUE(has(zenity->waitForCall(4), "--title=Open Module...\n")) << zenity->waitForCall(4);
    const std::string firstSave = moduleXml(song);
    ASSERT_FALSE(firstSave.empty()) << "the song was not saved";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    // Just loaded: closing asks only whether to quit (No stays).
    zenity->answerNo(5);
    askToClose(main);
    EXPECT_EQ(zenity->waitForCall(5), "--question\n--no-markup\n--title=Quorbel\n--text=Are you sure you want to quit?\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(program->running());

    // No: the edit goes, the song is opened again.
    typeNote(main, XK_w);
    zenity->answerNo(6);
    zenity->answer(7, 0, song + "\n");
    pressCtrl(XK_o);
    EXPECT_EQ(zenity->waitForCall(6), question + "--title=Open Module...\n" + saveChanges);
    EXPECT_TRUE(has(zenity->waitForCall(7), "--title=Open Module...\n"));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(moduleXml(song), firstSave);

    // Closing with an edit: Cancel stays, Yes saves to the song's file and quits.
    typeNote(main, XK_e);
    zenity->answerCancel(8);
    askToClose(main);
    EXPECT_EQ(zenity->waitForCall(8), question + "--title=Quorbel\n" + saveChanges);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_TRUE(program->running());
    EXPECT_NE(topLevel("QuorbelHost"), 0u);
    zenity->answerYes(9);
    askToClose(main);
    EXPECT_EQ(zenity->waitForCall(9), question + "--title=Quorbel\n" + saveChanges);
    EXPECT_EQ(program->wait(), 0) << program->output();
    EXPECT_FALSE(zenity->called(10)) << zenity->waitForCall(10, 0);
    const std::string lastSave = moduleXml(song);
    EXPECT_FALSE(lastSave.empty());
    EXPECT_NE(lastSave, firstSave);
}

// Without zenity the question is the program's own box, with its three
// buttons: Cancel keeps the window, No quits without saving.
TEST_F(HostFirstHourTest, TheOwnBoxOffersToSaveWithThreeAnswers)
{
    std::remove((folder + "/bin/zenity").c_str());
    start();
    ::Window main = 0;
    ASSERT_TRUE(eventually([&] { return (main = topLevel("QuorbelHost")) != 0; })) << program->output();
    typeNote(main, XK_z);
    const auto answer = [&](int fromRight) {
        askToClose(main);
        ::Window box = 0;
        ASSERT_TRUE(eventually([&] { return (box = topLevel("QuorbelDialog", "Quorbel")) != 0; }));
        // Painted: the box's light face, not the dark pattern behind it.
        EXPECT_TRUE(eventually([&] { return grab(box).pixelAt(10, 10).red > 150; }));
        if (fromRight == 0) {
            EXPECT_TRUE(grab(DefaultRootWindow(host)).writePng("screenshots/host_save_changes.png"));
        }
        // Yes, No and Cancel, 75 wide and 85 apart, along the bottom right:
        // the third button from the right is drawn.
        const Rect r = placeOf(box);
        const platform::Image shown = grab(box);
        bool third = false;
        for (int x = r.width() - 10 - 245; x < r.width() - 10 - 170; ++x)
            third = third || !(shown.pixelAt(x, r.height() - 22) == shown.pixelAt(10, 10));
        EXPECT_TRUE(third) << "no Cancel button";
        click(box, {r.width() - 10 - 75 - 85 * fromRight + 37, r.height() - 22});
        ASSERT_TRUE(eventually([&] { return topLevel("QuorbelDialog", "Quorbel") == 0; }));
    };
    answer(0);   // Cancel
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(program->running());
    EXPECT_NE(topLevel("QuorbelHost"), 0u);
    answer(1);   // No
    EXPECT_EQ(program->wait(), 0) << program->output();
}
