#include "common/help_viewer.h"

#include "common/cwebpage.h"
#include "common/help_address.h"
#include "common/help_archive.h"
#include "common/help_pages.h"
#include "common/help_popup_fit.h"
#include "platform/graphics/font_catalog.h"
#include "platform/key_table.h"

#include <algorithm>

namespace help {

namespace {

using platform::MessageKind;
using platform::Point;
using platform::Rect;

constexpr platform::Point kOwnerOffset{40, 40};
constexpr int32_t kLineStep = 40;
constexpr size_t kQueryLimit = 200;

} // namespace

HelpViewer::HelpViewer(platform::WindowSystem& system) : system_(system) {}

HelpViewer::~HelpViewer()
{
    close();
}

bool openHtmlHelp(HelpViewer& viewer, platform::Window& owner, std::string_view path, HelpCommand command,
                  std::string_view query)
{
    return viewer.show(owner, path, command, query);
}

bool HelpViewer::show(platform::Window& owner, std::string_view address, HelpCommand command, std::string_view query)
{
    Address parsed;
    if (!parseAddress(address, parsed) || !openArchive(parsed.archive) || !archive_->contains(parsed.page))
        return false;
    if (!window_ && !createWindow(owner))
        return false;
    web::WebView* view = web::getBrowser(*window_);
    if (!view)
        return false;
    view->navigate(address);
    if (command == HelpCommand::contents) {
        tab_ = Tab::contents;
        firstRow_ = 0;
    } else if (command == HelpCommand::search) {
        tab_ = Tab::search;
        searchText_ = std::string(query.substr(0, kQueryLimit));
        hits_.clear();
        searchRun_ = false;
        entryFocused_ = true;
        firstRow_ = 0;
    }
    selectShownPage();
    window_->show(true);
    window_->raise();
    window_->takeFocus();
    redraw();
    return true;
}

bool HelpViewer::openArchive(const std::string& path)
{
    if (archive_ && archive_->isOpen() && path == archivePath_)
        return true;
    auto archive = std::make_unique<Archive>(path);
    if (!archive->isOpen())
        return false;
    archive_ = std::move(archive);
    archivePath_ = path;
    contents_ = readContents(*archive_);
    hits_.clear();
    searchRun_ = false;
    selected_ = -1;
    firstRow_ = 0;
    return true;
}

bool HelpViewer::createWindow(platform::Window& owner)
{
    owner_ = owner.handle();
    const Point origin = owner.isTopLevel() ? Point{owner.rect().left, owner.rect().top} : owner.screenOrigin();
    const Rect wanted = platform::rectOfSize(origin.x + kOwnerOffset.x, origin.y + kOwnerOffset.y, kSize.x, kSize.y);
    platform::WindowOptions options;
    options.kind = platform::WindowOptions::Kind::TopLevel;
    options.parent = &owner;
    options.rect = keepInside(wanted, system_.workArea(wanted));
    options.title = kTitle;
    options.className = kClassName;
    options.visible = false;
    options.handler = this;
    window_ = system_.createWindow(options);
    if (!window_)
        return false;
    if (web::embedBrowser(*window_) != web::kEmbedded) {
        window_.reset();
        return false;
    }
    web::getBrowser(*window_)->setArea(pageArea());
    platform::FontRequest request;
    request.face = "Arial";
    request.height = -12;
    font_ = platform::FontCatalog::process().open(request);
    request.weight = 700;
    boldFont_ = platform::FontCatalog::process().open(request);
    window_->setTimer(kOwnerTimer, kOwnerTimerMs);
    return true;
}

void HelpViewer::close()
{
    window_.reset();
}

std::string HelpViewer::page() const
{
    const web::WebView* view = window_ ? web::getBrowser(*window_) : nullptr;
    return view ? view->page() : std::string();
}

Rect HelpViewer::pageArea() const
{
    const Rect client = window_ ? Rect{0, 0, window_->rect().width(), window_->rect().height()} : Rect{};
    return {kPaneWidth + 1, kStripHeight, std::max(client.right, kPaneWidth + 2), std::max(client.bottom, kStripHeight + 1)};
}

Rect HelpViewer::listArea() const
{
    const int32_t bottom = window_ ? window_->rect().height() : 0;
    if (tab_ == Tab::contents)
        return {0, kStripHeight + kTabHeight + 4, kPaneWidth, bottom - 4};
    return {0, kListTopicsButton.bottom + 28, kPaneWidth, bottom - 4};
}

int32_t HelpViewer::listRows() const
{
    return static_cast<int32_t>(tab_ == Tab::contents ? contents_.size() : hits_.size());
}

int32_t HelpViewer::rowAt(Point at) const
{
    const Rect list = listArea();
    if (!list.contains(at))
        return -1;
    const int32_t row = firstRow_ + (at.y - list.top) / kRowHeight;
    return row < listRows() ? row : -1;
}

void HelpViewer::redraw() const
{
    if (window_)
        window_->invalidate({0, 0, window_->rect().width(), window_->rect().height()});
}

void HelpViewer::selectShownPage()
{
    if (tab_ != Tab::contents)
        return;
    const std::string shown = page();
    selected_ = -1;
    for (size_t i = 0; i < contents_.size(); ++i)
        if (!contents_[i].page.empty() && samePage(contents_[i].page, shown)) {
            selected_ = static_cast<int32_t>(i);
            break;
        }
    const int32_t visible = std::max(listArea().height() / kRowHeight, 1);
    if (selected_ >= 0 && (selected_ < firstRow_ || selected_ >= firstRow_ + visible))
        firstRow_ = std::max(0, selected_ - visible / 2);
}

void HelpViewer::runSearch()
{
    hits_ = archive_ ? searchPages(*archive_, searchText_) : std::vector<SearchHit>{};
    searchRun_ = true;
    selected_ = -1;
    firstRow_ = 0;
    redraw();
}

bool HelpViewer::goBack()
{
    web::WebView* view = window_ ? web::getBrowser(*window_) : nullptr;
    if (!view || !view->goBack())
        return false;
    selectShownPage();
    redraw();
    return true;
}

void HelpViewer::openRow(int32_t row)
{
    web::WebView* view = web::getBrowser(*window_);
    if (!view || row < 0 || row >= listRows())
        return;
    const std::string& target = tab_ == Tab::contents ? contents_[size_t(row)].page : hits_[size_t(row)].page;
    if (target.empty())
        return;
    view->navigate(formatAddress(archivePath_, target));
    selected_ = row;
    redraw();
}

bool HelpViewer::handleMessage(platform::Window& window, platform::WindowMessage& message)
{
    if (message.kind == MessageKind::Destroy) {
        web::removeBrowser(window);
        return true;
    }
    const std::string before = page();
    const bool taken = web::browserMessage(window, message);
    if (page() != before) {
        selectShownPage();
        redraw();
    }
    if (taken)
        return true;
    switch (message.kind) {
    case MessageKind::Paint:
        paint(message.area);
        return true;
    case MessageKind::Resized:
        if (web::WebView* view = web::getBrowser(window))
            view->setArea(pageArea());
        redraw();
        return true;
    case MessageKind::Timer:
        if (message.timerId == kOwnerTimer && !system_.findWindow(owner_))
            close();
        return true;
    case MessageKind::Close:
        close();
        return true;
    case MessageKind::KeyDown:
        onKey(message);
        return true;
    case MessageKind::ButtonDown:
        if (message.button == platform::kLeftButton)
            onClick(message.point);
        return true;
    case MessageKind::Wheel: {
        const Point origin = window.screenOrigin();
        if (listArea().contains({message.point.x - origin.x, message.point.y - origin.y})) {
            const int32_t most = std::max(0, listRows() - listArea().height() / kRowHeight);
            firstRow_ = std::clamp(firstRow_ - message.wheelDelta / 40, 0, most);
            redraw();
        }
        return true;
    }
    default:
        return false;
    }
}

void HelpViewer::onKey(const platform::WindowMessage& message)
{
    const uint8_t key = message.key.windowsKey;
    if (tab_ == Tab::search && entryFocused_) {
        if (key == platform::kWinReturn) {
            runSearch();
        } else if (key == platform::kWinBack) {
            if (!searchText_.empty())
                searchText_.pop_back();
        } else if (key == platform::kWinEscape) {
            entryFocused_ = false;
        } else if (message.key.printable >= 0x20 && message.key.printable != 0x7F && searchText_.size() < kQueryLimit) {
            searchText_ += static_cast<char>(message.key.printable);
        }
        redraw();
        return;
    }
    web::WebView* view = web::getBrowser(*window_);
    if (!view)
        return;
    const int32_t page = std::max(view->area().height() - kLineStep, kLineStep);
    const bool alt = (message.input.bits & platform::kAltHeld) != 0;
    switch (key) {
    case platform::kWinBack:
        goBack();
        break;
    case platform::kWinLeft:
        if (alt)
            goBack();
        break;
    case platform::kWinUp: view->scrollBy(-kLineStep); break;
    case platform::kWinDown: view->scrollBy(kLineStep); break;
    case platform::kWinPrior: view->scrollBy(-page); break;
    case platform::kWinNext: view->scrollBy(page); break;
    case platform::kWinHome: view->scrollTo(0); break;
    case platform::kWinEnd: view->scrollTo(view->documentHeight()); break;
    default: break;
    }
}

void HelpViewer::onClick(Point at)
{
    const Rect contentsTab{0, kStripHeight, kPaneWidth / 2, kStripHeight + kTabHeight};
    const Rect searchTab{kPaneWidth / 2, kStripHeight, kPaneWidth, kStripHeight + kTabHeight};
    entryFocused_ = false;
    if (kBackButton.contains(at)) {
        goBack();
    } else if (contentsTab.contains(at) && tab_ != Tab::contents) {
        tab_ = Tab::contents;
        firstRow_ = 0;
        selectShownPage();
    } else if (searchTab.contains(at) && tab_ != Tab::search) {
        tab_ = Tab::search;
        selected_ = -1;
        firstRow_ = 0;
        entryFocused_ = true;
    } else if (tab_ == Tab::search && kSearchEntry.contains(at)) {
        entryFocused_ = true;
    } else if (tab_ == Tab::search && kListTopicsButton.contains(at)) {
        runSearch();
    } else {
        openRow(rowAt(at));
    }
    redraw();
}

} // namespace help
