// Feedback and crash reports through the real editor on headless windows: a
// child process faults with the crash filter, the next editor offers the
// report dialog at its first window, and the feedback command sends what its
// dialog chose to a loopback server. The dialogs are worked as a user would,
// one step each pass of their modal loop.

#include "editor/reports/report_dialogs.h"
#include "editor_fixture.h"
#include "gui/dialogs/base_dialog.h"
#include "gui/dialogs/dialog_view.h"
#include "services/crash_handler.h"
#include "services/pending_report.h"
#include "services/report_test_support.h"

#include <dirent.h>
#include <gif_lib.h>
#include <sys/wait.h>

#include <functional>
#include <set>

namespace {

using Ending = LoopbackHttpServer::Ending;

int* volatile nowhere = nullptr;

__attribute__((noinline, no_sanitize("address", "undefined"))) void writeThroughNull()
{
    *nowhere = 1;
}

void exitQuietly(int)
{
    _exit(42);
}

// A session with its usage log that faults with the plug-in's crash filter.
// The caller has no plug-in: its editor would take the log's name.
pid_t crashedChild = 0;

// A file of the last crash, named after its process.
std::string crashFile(const char* extension)
{
    return services::crashFileName(crashedChild, extension);
}

void crashInChild()
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGSEGV, exitQuietly);
        TesselUsageLog log;
        log.open(TesselLogIdentity{});
        setUsageLog(&log);
        log.logCommand(7, 77);
        services::installCrashFilter(TesselUsageLog::flushForCrash);
        writeThroughNull();
        _exit(0);
    }
    crashedChild = child;
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 42);
}

class ReportEditorTest : public EditorTest {
protected:
    // The test's own temporary folder, made before the plug-in is.
    PrivateTemporaryFolder temporary;
    const std::string folder = temporary.path();

    void SetUp() override
    {
        TesselEditor::reportAddressSource = [this] { return address; };
        EditorTest::SetUp();
    }
    void TearDown() override
    {
        windows.setModalUser(nullptr);
        EditorTest::TearDown();
        TesselEditor::reportAddressSource = nullptr;
    }

    std::string file(const std::string& name) const { return platform::joinPath(folder, name); }
    bool exists(const std::string& name) const { return platform::fileExists(file(name)); }

    // The user: step n runs at the nth pass of any dialog's loop; the dialogs
    // seen are counted by caption.
    void user(std::vector<std::function<void(CBaseDialog&)>> steps)
    {
        steps_ = std::move(steps);
        next_ = 0;
        windows.setModalUser([this](platform::Window& modal) {
            CBaseDialog* dialog = CBaseDialog::ofWindow(&modal);
            if (!dialog)
                return;
            captions.insert(windows.title(modal));
            ++passes;
            // A script that ran out gives the dialog a few passes to end by itself.
            if (next_ < steps_.size())
                steps_[next_++](*dialog);
            else if (++next_ > steps_.size() + 20)
                dialog->endDialog(IDCANCEL);
        });
    }
    // The dialog's client point of an item's centre, clicked.
    void click(CBaseDialog& dialog, int32_t id)
    {
        const CRect r = dialog.view()->itemRect(id);
        windows.click(*dialog.view()->getFrame()->getWindow(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    void type(const std::string& letters)
    {
        for (char c : letters) {
            const int key = c == ' ' ? platform::kWinSpace : std::toupper(static_cast<unsigned char>(c));
            windows.pressKey(static_cast<uint8_t>(key));
        }
    }

    std::string address;
    std::set<std::string> captions;
    int passes = 0;

private:
    std::vector<std::function<void(CBaseDialog&)>> steps_;
    size_t next_ = 0;
};

std::string postedZip(const LoopbackHttpServer& server, ScratchFolder& scratch, std::string* name = nullptr)
{
    const std::vector<LoopbackHttpServer::Request> requests = server.requests();
    if (requests.size() != 1)
        return {};
    const FormPart part = formPart(requests[0], "FILE1");
    if (name)
        *name = part.fileName;
    return part.partCount == 1 ? scratch.write("posted.zip", part.content) : std::string();
}

} // namespace

TEST_F(ReportEditorTest, TheNextEditorAsksOnceAfterACrashAndOkSendsTheWholeReport)
{
    plugin.reset();
    crashInChild();
    ASSERT_TRUE(exists(crashFile(services::kPendingMarkExtension)));
    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    address = server.address("/report");
    makePlugin();   // claims the crash and its log
    ASSERT_TRUE(editor->pendingReport().claimed);

    bool emailOptional = false, technicalFixed = false, popupHeld = false;
    user({[&](CBaseDialog& d) {
              DialogView& v = *d.view();
              popupHeld = editor->popupActive();
              emailOptional = v.text(kEmailBox) == "(optional)";
              technicalFixed = v.isChecked(kTechnicalDataBox) && !v.isEnabled(kTechnicalDataBox);
              type("it froze");
          },
          [&](CBaseDialog& d) { click(d, IDOK); }});
    open();

    EXPECT_EQ(captions, std::set<std::string>{"Quorbel Error Report"});
    EXPECT_TRUE(popupHeld);
    EXPECT_FALSE(editor->popupActive());
    EXPECT_TRUE(emailOptional);
    EXPECT_TRUE(technicalFixed);
    ScratchFolder scratch;
    std::string name;
    const std::string zip = postedZip(server, scratch, &name);
    ASSERT_FALSE(zip.empty());
    EXPECT_EQ(name.substr(0, 4), "QBe_");
    EXPECT_EQ(name.size(), 19u);   // QBe_yyyymmdd-hhmmss
    const std::vector<std::string> order{"Quorbel.cmt", "Quorbel.dmp", "Quorbel.err", "Quorbel.log"};
    EXPECT_EQ(zipEntryNames(zip), order);
    const std::string comment = zipEntryText(zip, "Quorbel.cmt");
    EXPECT_NE(comment.find("Email: (optional)\n---\nit froze"), std::string::npos) << comment;
    EXPECT_NE(zipEntryText(zip, "Quorbel.err").find("an Access Violation in module "), std::string::npos);
    EXPECT_NE(zipEntryText(zip, "Quorbel.log").size(), 0u);
    EXPECT_EQ(platform::statusText(), services::kReportSentStatus);
    for (const std::string& gone : {crashFile(services::kCrashReportExtension),
                                    crashFile(services::kCrashDumpExtension), std::string("Quorbel.cmt"),
                                    crashFile(".log"),   // the crashed process's own log
                                    crashFile(services::kPendingMarkExtension)})
        EXPECT_FALSE(exists(gone)) << gone;
    EXPECT_EQ(zipEntryNames(zip).size(), 4u);
    EXPECT_EQ(server.connections(), 1);

    // Asked once: the next editor finds nothing to offer.
    passes = 0;
    dispatch(effEditClose);
    makePlugin();
    open();
    EXPECT_EQ(passes, 0);
}

TEST_F(ReportEditorTest, CancellingTheCrashReportSendsNothingKeepsTheFilesAndAsksNoMore)
{
    plugin.reset();
    crashInChild();
    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    address = server.address("/report");
    makePlugin();
    user({[&](CBaseDialog& d) { click(d, kSecondDetails); },
          [&](CBaseDialog&) { windows.pressKey(platform::kWinEscape); }});
    open();
    EXPECT_EQ(captions.size(), 1u);
    ASSERT_EQ(windows.scriptedDialogs().requests().size(), 1u);
    EXPECT_EQ(windows.scriptedDialogs().requests()[0].text, kInteractionLogDetails);
    EXPECT_EQ(server.connections(), 0);
    EXPECT_TRUE(exists(crashFile(services::kCrashReportExtension)));
    EXPECT_TRUE(exists(crashFile(services::kCrashDumpExtension)));
    EXPECT_TRUE(exists(crashFile(".log")));

    passes = 0;
    dispatch(effEditClose);
    makePlugin();
    open();
    EXPECT_EQ(passes, 0);
    EXPECT_EQ(server.connections(), 0);
}

TEST_F(ReportEditorTest, FeedbackKeepsItsDialogUntilACommentIsTypedAndSendsTheCommentAlone)
{
    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    address = server.address("/report");
    open();
    std::string untouched;
    user({[&](CBaseDialog& d) {
              untouched = d.view()->text(kCommentBox);
              click(d, IDOK);   // the explanation is no comment
          },
          [&](CBaseDialog& d) {
              d.view()->setText(kCommentBox, "");
              click(d, IDOK);   // nor is nothing
          },
          [&](CBaseDialog& d) {
              click(d, kCommentBox);   // the focus went to OK
              type("more undo");
              click(d, kTechnicalDataBox);
              click(d, kInteractionLogBox);   // not in this dialog: nothing happens
          },
          [&](CBaseDialog& d) {
              EXPECT_FALSE(d.view()->isChecked(kTechnicalDataBox));
              EXPECT_TRUE(d.view()->isEnabled(kTechnicalDataBox));
              click(d, kCommentBox);
              windows.pressKey(platform::kWinReturn);   // a line break in the comment
              type("please");
              click(d, IDOK);
          }});
    editor->sendFeedback();

    EXPECT_EQ(untouched, kCommentExplanation);
    EXPECT_EQ(captions, std::set<std::string>{"Quorbel Feedback"});
    const auto& boxes = windows.scriptedDialogs().requests();
    ASSERT_EQ(boxes.size(), 2u) << boxes.back().text;
    for (const auto& box : boxes) {
        EXPECT_EQ(box.text, kEmptyCommentMessage);
        EXPECT_EQ(box.title, "Quorbel Feedback");
    }
    ScratchFolder scratch;
    std::string name;
    const std::string zip = postedZip(server, scratch, &name);
    ASSERT_FALSE(zip.empty());
    EXPECT_EQ(name.substr(0, 4), "QBc_");
    // The feedback dialog has no interaction log box: no usage log goes along.
    EXPECT_EQ(zipEntryNames(zip), std::vector<std::string>{"Quorbel.cmt"});
    const std::string comment = zipEntryText(zip, "Quorbel.cmt");
    EXPECT_EQ(comment.substr(0, 26), "Subject: Quorbel Feedback\n");
    EXPECT_NE(comment.find("Email: (not provided)\n---\nmore undo\nplease"), std::string::npos) << comment;
    EXPECT_EQ(platform::statusText(), services::kReportSentStatus);
    EXPECT_FALSE(services::rememberedReportChoices().technicalData);
    EXPECT_TRUE(services::rememberedReportChoices().interactionLog);   // the report dialog's, untouched
}

TEST_F(ReportEditorTest, FeedbackWithNoBoxSendsTheCommentAloneAndModuleDataAddsTheSongsMarkup)
{
    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    address = server.address("/report");
    open();
    services::RememberedReportChoices& remembered = services::rememberedReportChoices();
    remembered.technicalData = false;
    remembered.interactionLog = false;
    user({[&](CBaseDialog& d) {
        d.view()->setText(kCommentBox, "hello");
        click(d, IDOK);
    }});
    editor->sendFeedback();
    ScratchFolder scratch;
    std::string zip = postedZip(server, scratch);
    EXPECT_EQ(zipEntryNames(zip), std::vector<std::string>{"Quorbel.cmt"});

    std::snprintf(engine().song.text, sizeof engine().song.text, "%s", "Report song");
    const std::string expected = scratch.path() + "/expected.xml";
    ASSERT_TRUE(services::writeModuleMarkup(engine().song, expected));
    LoopbackHttpServer second({200, "OK", "", "", Ending::Whole});
    address = second.address("/report");
    user({[&](CBaseDialog& d) {
        EXPECT_FALSE(d.view()->isChecked(kTechnicalDataBox));   // remembered from the last time
        d.view()->setText(kCommentBox, "with the song");
        click(d, kModuleDataBox);
        click(d, IDOK);
    }});
    editor->sendFeedback();
    ScratchFolder scratch2;
    zip = postedZip(second, scratch2);
    EXPECT_EQ(zipEntryNames(zip), (std::vector<std::string>{"Quorbel.cmt", "Module.xml"}));
    EXPECT_EQ(zipEntryText(zip, "Module.xml"), readWholeFile(expected));
    EXPECT_FALSE(exists("Quorbel.xml"));
}

TEST_F(ReportEditorTest, ScreenCaptureSendsTheScreenAsAGifInTheDefaultPalette)
{
    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    address = server.address("/report");
    open();
    services::rememberedReportChoices().technicalData = false;
    services::rememberedReportChoices().interactionLog = false;
    int32_t collapsed = 0, expanded = 0;
    CRect preview;
    user({[&](CBaseDialog& d) {
              collapsed = d.window()->rect().height();
              d.view()->setText(kCommentBox, "look");
              click(d, kScreenCaptureBox);
          },
          [&](CBaseDialog& d) {
              expanded = d.window()->rect().height();
              preview = d.view()->itemRect(kPreview);
              click(d, IDOK);
          }});
    editor->sendFeedback();

    // The preview keeps the screen's aspect and the dialog grows to show it.
    const platform::Point screen = platform::HeadlessWindowSystem::kScreenSize;
    EXPECT_EQ(preview.height(), (preview.width() - 4) * screen.y / screen.x + 2);
    EXPECT_EQ(collapsed, preview.top + 2);
    EXPECT_EQ(expanded, preview.bottom + 10);

    ScratchFolder scratch;
    const std::string zip = postedZip(server, scratch);
    ASSERT_EQ(zipEntryNames(zip), (std::vector<std::string>{"Quorbel.cmt", "Quorbel.gif"}));
    const std::string gifPath = scratch.write("capture.gif", zipEntryText(zip, "Quorbel.gif"));
    int error = 0;
    GifFileType* gif = DGifOpenFileName(gifPath.c_str(), &error);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    ASSERT_EQ(gif->SWidth, screen.x);
    ASSERT_EQ(gif->SHeight, screen.y);
    const ColorMapObject* map = gif->SColorMap ? gif->SColorMap : gif->SavedImages[0].ImageDesc.ColorMap;
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->ColorCount, 256);
    // The desktop's corner in the palette's nearest colour; the editor window
    // somewhere else.
    const platform::Colour desktop = platform::HeadlessWindowSystem::kDesktopColour;
    int nearest = 0;
    long best = -1;
    for (int i = 0; i < map->ColorCount; ++i) {
        const GifColorType c = map->Colors[i];
        const long dr = c.Red - desktop.red, dg = c.Green - desktop.green, db = c.Blue - desktop.blue;
        const long distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < best) {
            best = distance;
            nearest = i;
        }
    }
    const auto colourAt = [&](int x, int y) {
        const GifColorType c = map->Colors[gif->SavedImages[0].RasterBits[y * screen.x + x]];
        return platform::rgb(c.Red, c.Green, c.Blue);
    };
    const GifColorType n = map->Colors[nearest];
    EXPECT_EQ(colourAt(screen.x - 1, screen.y - 1), platform::rgb(n.Red, n.Green, n.Blue));
    const platform::Point inEditor = editor->editorWindow()->screenOrigin();
    EXPECT_NE(colourAt(inEditor.x + 40, inEditor.y + 100), colourAt(screen.x - 1, screen.y - 1));
    DGifCloseFile(gif, &error);
    EXPECT_FALSE(exists("Quorbel.gif"));
}

TEST_F(ReportEditorTest, DetailsLinksExplainCancelledFeedbackSaysSoAndTheDefaultBuildConnectsNowhere)
{
    LoopbackHttpServer server({200, "OK", "", "", Ending::Whole});
    address = server.address("/report");
    open();
    user({[&](CBaseDialog& d) { click(d, kTechnicalDetails); },
          [&](CBaseDialog& d) { click(d, kSecondDetails); },
          [&](CBaseDialog& d) { click(d, IDCANCEL); }});
    editor->sendFeedback();
    EXPECT_EQ(platform::statusText(), "oMBRIX: Feedback cancelled.");
    const auto& details = windows.scriptedDialogs().requests();
    ASSERT_EQ(details.size(), 2u);
    EXPECT_EQ(details[0].text, kTechnicalDataDetails);
    EXPECT_EQ(details[1].text, kModuleDataDetails);

    // No address built in: the zip stays, nothing is said.
    TesselEditor::reportAddressSource = nullptr;
    services::rememberedReportChoices().technicalData = false;
    services::rememberedReportChoices().interactionLog = false;
    user({[&](CBaseDialog& d) {
        d.view()->setText(kCommentBox, "unsent");
        click(d, IDOK);
    }});
    editor->sendFeedback();
    EXPECT_EQ(server.connections(), 0);
    EXPECT_EQ(platform::statusText(), "");
    bool zipLeft = false;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            zipLeft = zipLeft || std::string(entry->d_name).rfind("QBc_", 0) == 0;
        closedir(dir);
    }
    EXPECT_TRUE(zipLeft);
}
