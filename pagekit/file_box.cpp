#include "pagekit/file_box.h"

#include "engine/engine.h"
#include "pagekit/editor_services.h"
#include "pagekit/file_box_paths.h"
#include "model/model_globals.h"
#include "pagekit/tessel_ui.h"
#include "model/song/module.h"
#include "platform/system/library_handle.h"
#include "platform/status_text.h"

#include <unistd.h>

#include <utility>

namespace {

using file_box_listing::PathKind;
using file_box_listing::plainEntry;

std::string absolute(const std::string& path)
{
    if (path.empty() || path.front() == '/')
        return file_box_paths::canonical(path);
    char here[4096];
    return file_box_paths::combine(getcwd(here, sizeof here) ? here : "/", path);
}

} // namespace

TesselFileBox::TesselFileBox(const CRect& rect, const std::string& startFolder, TesselEditorServices* editor,
                             int32_t mode)
    : TesselControl(kClassId),
      pathBox(CRect(rect.left, rect.top - 1, rect.right + 2, rect.top + 11), kPathLength, startFolder, editor),
      list(CRect(rect.left, rect.top + 12, rect.right, rect.bottom)), editor(editor), rect(rect), mode(mode),
      browserMutex(platform::openNamedMutex(platform::handleName("QB_FILE_")))
{
    engine = editor ? editor->engine() : nullptr;
    previewSong = std::make_unique<TesselModule>(engine);
    {
        // New and known to no one: no lock needed.
        SharedSongState keep;
        previewSong->reset(120.0, 6.0, 4);
    }
    // Names of 32 characters and the size, kind and date beside them fit the
    // list only in the 6-pixel cells.
    list.smallFont = true;
    pathBox.editablePath = true;
    pathBox.buttonShown = true;
    // The folder button stands at the right end of the text area.
    CRect* text = pathBox.getRect();
    text->right -= pathBox.buttonRect().width();

    const std::string start = absolute(startFolder);
    currentPath = start;
    if (file_box_listing::pathKind(start) != PathKind::Folder) {
        scanFolder(start, false);
        return;
    }
    list.setMessage("Scanning folder...");
    scanThread_ = std::thread(&TesselFileBox::scanStartFolder, this, start, listing);
}

TesselFileBox::~TesselFileBox()
{
    stopScan.store(true);
    if (scanThread_.joinable())
        scanThread_.join();
    // No preview voice may go on reading the samples freed here.
    if (engine && !engine->removePreviewVoices(*previewSong, TesselEngine::lockWaitMs))
        (void)previewSong.release();
}

file_box_listing::BrowserMode TesselFileBox::browserMode() const
{
    return mode == kInstrumentBrowser ? file_box_listing::BrowserMode::Instrument
                                      : file_box_listing::BrowserMode::Sample;
}

void TesselFileBox::scanStartFolder(std::string folder, uint32_t generation)
{
    std::vector<TesselListItem> items;
    const bool listed = file_box_listing::listFolder(folder, browserMode(), &stopScan, items);
    if (!stopScan.load()) {
        platform::MutexLock lock(*browserMutex, platform::kWaitForever);
        // A listing the user asked for meanwhile wins.
        if (generation == listing) {
            if (listed)
                publishFolder(folder, items);
            else
                list.setMessage("");
        }
    }
    scanFinished.store(true);
}

bool TesselFileBox::idle()
{
    if (!scanFinished.load() || !scanThread_.joinable())
        return false;
    scanThread_.join();
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    list.dirty = true;
    return true;
}

bool TesselFileBox::hasChanged()
{
    idle();
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    return list.dirty || pathBox.dirty;
}

void TesselFileBox::relist()
{
    if (scanThread_.joinable() && !scanFinished.load())
        return;
    idle();
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    if (listedKind != PathKind::Folder || !list.getMessage().empty())
        return;
    std::vector<TesselListItem> items;
    if (!file_box_listing::listFolder(currentPath, browserMode(), nullptr, items))
        return;
    const std::string selected = list.selectedText();
    const std::string folder = currentPath;
    publishFolder(folder, items);
    for (int32_t i = 0; i < list.entryCount(); ++i)
        if (list.entry(i).name == selected) {
            list.setSelection(i);
            break;
        }
    if (focusPart > 0)
        focusPart = list.getSelection() + 1;
}

void TesselFileBox::publishFolder(const std::string& folder, std::vector<TesselListItem>& items)
{
    showListingOf(folder, PathKind::Folder);
    for (TesselListItem& item : items)
        list.addEntry(std::move(item));
    finishListing();
}

std::string TesselFileBox::folderPath() const
{
    const bool file = listedKind != PathKind::Folder && listedKind != PathKind::Missing;
    return file ? file_box_paths::combine(currentPath, "..") : currentPath;
}

std::string TesselFileBox::folder() const
{
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    return file_box_paths::withSlash(folderPath());
}

std::string TesselFileBox::listedPath() const
{
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    return currentPath;
}

bool TesselFileBox::hitTest(const CPoint& point)
{
    return list.hitTest(point) || pathBox.hitTest(point);
}

void TesselFileBox::setColour(uint32_t rgba)
{
    TesselControl::setColour(rgba);
    pathBox.setColour(rgba);
    list.setColour(rgba);
}

void TesselFileBox::drawBrowser(VSTGUI::CDrawContext* context, bool focused)
{
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    pathBox.drawText(context, pathBox.name.c_str(), focused && focusPart == 0);
    list.drawList(context, focused && focusPart > 0);
}

void TesselFileBox::onWheel(const CPoint& point, float distance)
{
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    if (!list.hitTest(point) || distance == 0.0f || !list.getMessage().empty())
        return;
    const int32_t selectionBefore = list.getSelection();
    list.setSelection(selectionBefore + (distance > 0.0f ? -1 : 1));
    // The keyboard must not go on playing the entry the wheel left.
    afterInput(selectionBefore, listing);
}

void TesselFileBox::redrawEditor()
{
    if (TesselUI* page = editor ? editor->currentPage() : nullptr)
        page->redrawNow(page);
}

bool TesselFileBox::scanFolder(const std::string& path, bool redrawNow)
{
    platform::MutexLock lock(*browserMutex, platform::kWaitForever);
    return scanFolderLocked(path, redrawNow);
}

void TesselFileBox::beginListing(const char* message, bool redrawNow)
{
    list.setMessage(message);
    if (redrawNow)
        redrawEditor();
}

void TesselFileBox::showListingOf(const std::string& path, PathKind kind)
{
    currentPath = path;
    listedKind = kind;
    pathBox.name = kind == PathKind::Folder ? file_box_paths::withSlash(path) : path;
    pathBox.setDirty();
    list.clearEntries();
    previewInstrument = nullptr;
    if (kind != PathKind::Folder || !file_box_paths::isRoot(path)) {
        list.addEntry(plainEntry("/"));
        list.addEntry(plainEntry(".."));
    }
}

void TesselFileBox::finishListing()
{
    ++listing;
    list.setSelection(0);
    list.layout();
    list.setMessage("");
    list.dirty = true;
}

bool TesselFileBox::scanFolderLocked(const std::string& requested, bool redrawNow)
{
    if (requested.empty())
        return false;
    const std::string path = file_box_paths::canonical(requested);
    const PathKind kind = file_box_listing::openingKind(path, browserMode());
    // What does not fit the path line or a result is refused whole.
    if (file_box_paths::withSlash(path).size() > static_cast<size_t>(kPathLength)) {
        platform::setStatusText("Path too long.");
        return false;
    }
    const std::string shownBefore = list.getMessage();
    switch (kind) {
    case PathKind::InstrumentFile:
        beginListing("Loading instrument...", redrawNow);
        showListingOf(path, kind);
        if (loadPreviewInstrument(path))
            listPreviewSlots();
        finishListing();
        return true;
    case PathKind::ModuleFile:
        beginListing("Loading module...", redrawNow);
        showListingOf(path, kind);
        if (loadPreviewModule(path))
            listPreviewSlots();
        finishListing();
        return true;
    case PathKind::Archive: {
        beginListing("Loading archive...", redrawNow);
        showListingOf(path, kind);
        std::vector<TesselListItem> items;
        file_box_listing::listArchive(path, browserMode(), items);
        for (TesselListItem& item : items)
            list.addEntry(std::move(item));
        finishListing();
        return true;
    }
    case PathKind::Folder: {
        std::vector<TesselListItem> items;
        beginListing("Scanning folder...", redrawNow);
        if (!file_box_listing::listFolder(path, browserMode(), nullptr, items)) {
            list.setMessage(shownBefore);
            platform::setStatusText("Cannot read folder.");
            return false;
        }
        publishFolder(path, items);
        return true;
    }
    default: break;
    }
    return false;
}
