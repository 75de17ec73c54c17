#pragma once
// The file browser that the sample and instrument pages embed: a path line
// above a list. It lists a folder, and opens a module, an instrument file or
// a zip archive as if it were a folder, listing the samples or instruments
// inside; the computer keyboard auditions the selection through the
// engine's preview while the list has the focus.
//
// Threads: the first listing of a start folder runs on a thread of the box's
// own, which only lists, publishes under the browser mutex and raises a
// flag for the GUI thread's next idle. Everything else runs on the GUI
// thread; drawing, keys, mouse and wheel take the browser mutex (re-entrant,
// shared by every box of the process) as scans do.

#include "pagekit/file_box_listing.h"
#include "gui/lists/list_box.h"
#include "pagekit/path_box.h"
#include "gui/controls/tessel_control.h"
#include "platform/system/mutex.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

class TesselEditorServices;
class TesselEngine;
class TesselInstrument;
class TesselModule;

class TesselFileBox : public TesselControl {
public:
    static constexpr int32_t kClassId = 28;
    enum Mode : int32_t { kSampleBrowser = 1, kInstrumentBrowser = 2 };
    static constexpr int32_t kPathLength = 260;
    // Results longer than this are refused, never cut.
    static constexpr size_t kResultLimit = 1023;
    // Flags of handleClick beside the mouse buttons.
    static constexpr int32_t kDoubleClick = 128;
    static constexpr int32_t kFreshPress = 256;
    // The preview note's effect: S74, a new note fades the last.
    static constexpr int32_t kPreviewEffect = 0x74;

    // Lists the start folder on the box's own thread (another start path at
    // once); the engine and the editor come from `editor`.
    TesselFileBox(const CRect& rect, const std::string& startFolder, TesselEditorServices* editor, int32_t mode);
    // Stops and joins the first listing, silences the preview, frees it.
    ~TesselFileBox() override;

    // A pointer to the value when onFileKey or handleClick chose an item.
    int32_t* onKey(const TesselKeyEvent& key) override;
    int32_t* onMouse(int32_t buttons, const CPoint& point) override;
    bool hitTest(const CPoint& point) override;
    void setColour(uint32_t rgba) override;
    CRect* getRect() override { return &rect; }

    // A chosen item: a file path, "module::NN" (a slot number) or
    // "archive::entry"; null otherwise.
    const char* onFileKey(const TesselKeyEvent& key);
    // Buttons with kFreshPress and kDoubleClick from the page.
    const char* handleClick(int32_t buttons, const CPoint& point);
    // Over the list: one entry up for a positive distance, down for a negative.
    void onWheel(const CPoint& point, float distance);
    void drawBrowser(VSTGUI::CDrawContext* context, bool focused);
    // Fills the list for a folder, module, instrument file or archive; true
    // when it listed something. Anything else leaves the list as it was.
    bool scanFolder(const std::string& path, bool redrawNow);
    // A listed folder read again, as the browser is shown: files made or
    // removed since the last listing show. The selection stays on its name
    // when that is still there. Nothing while the first listing runs, or
    // when a file is listed.
    void relist();
    // The GUI thread's idle: true once after the first listing finished,
    // with the list marked for drawing.
    bool idle();
    // For the page's dirty test (runs idle): the path line or the list
    // changed since they were drawn.
    bool hasChanged();

    // The folder shown, or the folder of the file shown; with its '/'.
    std::string folder() const;
    // The path listed: a folder or a module, instrument or archive file.
    std::string listedPath() const;
    TesselModule* previewModule() const { return previewSong.get(); }
    TesselInstrument* getPreviewInstrument() const { return previewInstrument; }
    // 0: the path line; else the list's selection + 1.
    int32_t getFocusPart() const { return focusPart; }
    // The first listing's thread has not yet been joined by idle().
    bool firstScanPending() const { return scanThread_.joinable(); }
    TesselListBox& getList() { return list; }
    TesselPathBox& getPathBox() { return pathBox; }

private:
    using PathKind = file_box_listing::PathKind;

    file_box_listing::BrowserMode browserMode() const;
    // The folder listed, or the folder of the file listed; mutex held.
    std::string folderPath() const;
    // The first listing: the box's own thread.
    void scanStartFolder(std::string folder, uint32_t generation);
    // The listing of a folder into the list; the caller holds the mutex.
    void publishFolder(const std::string& folder, std::vector<TesselListItem>& items);
    // Steps of scanFolder, mutex held.
    void beginListing(const char* message, bool redrawNow);
    void showListingOf(const std::string& path, PathKind kind);
    void finishListing();
    void listPreviewSlots();
    bool scanFolderLocked(const std::string& path, bool redrawNow);

    // Keys and clicks.
    const char* pathLineKey(const TesselKeyEvent& key);
    const char* listKey(const TesselKeyEvent& key);
    const char* enter();
    // A path that the page loads, or a scan; the result or null.
    const char* chooseOrScan(const std::string& path);
    const char* finishResult(const std::string& text);
    bool insideSlotListing() const;
    void afterInput(int32_t selectionBefore, uint32_t listingBefore);
    void redrawEditor();

    // The preview (file_box_preview.cpp).
    void loadPreview(bool force);
    bool previewSlotOfSelection();
    void loadPreviewFile(const std::string& path, PathKind kind);
    bool loadPreviewInstrument(const std::string& path);
    bool loadPreviewModule(const std::string& path);
    // The slot number an entry of a module or instrument listing names.
    int32_t selectedSlot() const;
    void playPreview(int32_t note);

    std::unique_ptr<TesselModule> previewSong;
    TesselInstrument* previewInstrument = nullptr;
    TesselPathBox pathBox;
    TesselListBox list;
    TesselEngine* engine = nullptr;
    TesselEditorServices* editor;
    std::string result;
    // Canonical, without the '/' at the end (except the root).
    std::string currentPath;
    PathKind listedKind = PathKind::Missing;
    int32_t focusPart = 0;
    CRect rect;
    int32_t mode;
    platform::SharedMutex browserMutex;
    // Grows with every listing the GUI thread makes; the first listing is
    // dropped when one came before it.
    uint32_t listing = 0;
    // What the preview last looked at.
    int32_t previewedSelection = -1;
    uint32_t previewedListing = 0;
    int32_t lastButtons = 0;
    std::atomic<bool> stopScan{false};
    std::atomic<bool> scanFinished{false};
    std::thread scanThread_;
};
