// The two report dialogs over the editor on a real X server, shot from the
// screen for a person to look at: the feedback dialog grown to show its
// preview of the screen, and the error report dialog.

#include "editor/reports/report_dialogs.h"
#include "gui/dialogs/dialog_view.h"
// After our headers: the fixture brings Xlib's macros.
#include "x11_editor_fixture.h"

#include <functional>
#include <set>

namespace {

class ReportDialogsOnX : public EditorOnX {
protected:
    // What a window of ours shows, read from the screen.
    bool writeShot(const platform::Window& window, const std::string& name)
    {
        const platform::Point at = window.screenOrigin();
        const int width = window.rect().width();
        const int height = window.rect().height();
        XSync(host, False);
        XImage* shot = XGetImage(host, DefaultRootWindow(host), at.x, at.y, unsigned(width), unsigned(height),
                                 AllPlanes, ZPixmap);
        if (!shot)
            return false;
        std::vector<uint32_t> pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels.push_back(uint32_t(XGetPixel(shot, x, y)) & 0xFFFFFFu);
        XDestroyImage(shot);
        lastShot = platform::Image::fromPixels(width, height, pixels.data());
        return platform::makeFolders("screenshots") && lastShot.writePng("screenshots/" + name);
    }
};

} // namespace

namespace {

// A report dialog that lets a few passes of its loop paint, then has its
// window shot and ends; `prepare` runs at the first pass.
template <class Dialog>
struct ShotDialog : Dialog {
    template <class... Arguments>
    explicit ShotDialog(Arguments... arguments) : Dialog(arguments...)
    {
    }
    void onModalPass() override
    {
        ++passes;
        if (passes == 1 && prepare)
            prepare(*this);
        if (passes == 30) {
            if (shoot)
                shoot(*this);
            this->endDialog(IDCANCEL);
        }
    }
    int passes = 0;
    std::function<void(Dialog&)> prepare;
    std::function<void(Dialog&)> shoot;
};

} // namespace

TEST_F(ReportDialogsOnX, TheFeedbackDialogWithItsPreviewAndTheErrorReportDialog)
{
    const ::Window hostWindow = makeHostWindow();
    ASSERT_EQ(dispatch(effEditOpen, 0, reinterpret_cast<void*>(hostWindow)), 1);
    ASSERT_TRUE(idleUntil([&] { return !topLevelsNamed("Quorbel Window").empty(); }));
    ASSERT_TRUE(idleUntil([&] { return !editor->splash()->isAnimating(); }));
    idlePasses(5);

    ShotDialog<CCommentDialog> feedback(kFeedbackDialogId, editor->editorWindow());
    ASSERT_TRUE(feedback.capture().HasPixels());
    CRect preview;
    int previewInks = 0;
    feedback.prepare = [](CCommentDialog& d) {
        d.view()->setText(kEmailBox, "someone@example.org");
        d.view()->setChecked(kScreenCaptureBox, true);
        d.onCommand(d.window(), commandParam(kScreenCaptureBox, BN_CLICKED), 0);
    };
    feedback.shoot = [&](CCommentDialog& d) {
        ASSERT_TRUE(writeShot(*d.window(), "feedback_dialog.png"));
        preview = d.view()->itemRect(kPreview);
        std::set<uint32_t> colours;
        for (int32_t y = preview.top + 2; y < preview.bottom - 2; y += 3)
            for (int32_t x = preview.left + 2; x < preview.right - 2; x += 3)
                colours.insert(platform::toPixel(lastShot.pixelAt(x, y)) & 0xFFFFFFu);
        previewInks = static_cast<int>(colours.size());
    };
    EXPECT_EQ(feedback.doModal("Quorbel"), IDCANCEL);
    EXPECT_EQ(lastShot.height(), preview.bottom + 10);
    EXPECT_GT(previewInks, 3);   // the desktop and the editor in small

    ShotDialog<CReportDialog> report(editor->editorWindow());
    report.prepare = [](CReportDialog& d) { d.view()->setText(kCommentBox, "It stopped when I pressed F5."); };
    report.shoot = [&](CReportDialog& d) {
        ASSERT_TRUE(writeShot(*d.window(), "error_report_dialog.png"));
        preview = d.view()->itemRect(kPreview);
    };
    EXPECT_EQ(report.doModal("Quorbel"), IDCANCEL);
    EXPECT_EQ(lastShot.height(), preview.top + 2);   // no capture chosen: it ends above the preview
}
