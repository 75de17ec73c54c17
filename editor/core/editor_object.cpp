// The editor's construction and destruction, and its maker.

#include "editor/core/page_kinds.h"
#include "editor/core/splash_page.h"
#include "editor/core/tessel_editor.h"
#include "engine/engine.h"
#include "engine/engine_globals.h"
#include "gui/bitmap.h"
#include "gui/controls/tessel_control.h"
#include "gui/offscreen_context.h"
#include "gui/page_fonts.h"
#include "gui/tessel_font.h"
#include "model/model_globals.h"
#include "pagekit/page_globals.h"
#include "patterneditor/overview/toolbar_page.h"
#include "patterneditor/pattern_editor_page.h"
#include "platform/graphics/font_catalog.h"
#include "platform/system/clock.h"
#include "platform/system/folders.h"
#include "plugin/plugin_globals.h"
#include "plugin/plugin_object.h"
#include "resources/product_font.h"
#include "resources/resource_ids.h"
#include "services/update_check.h"
#include "shell/preferences.h"

#include <cstdio>

namespace {

constexpr int16_t kToolbarWidth = 493;
constexpr int16_t kToolbarHeight = 36;

TesselLogIdentity logIdentity(TesselPlugin& plugin)
{
    const TesselHostIdentity& host = hostIdentity();
    TesselLogIdentity identity;
    identity.hostVendor = host.vendor;
    identity.hostProduct = host.product;
    identity.hostVersion = host.vendorVersion;
    char text[64] = {};
    plugin.getVendorString(text);
    identity.pluginVendor = text;
    plugin.getProductString(text);
    identity.pluginProduct = text;
    identity.pluginVersion = plugin.getVendorVersion();
    return identity;
}

// The fonts in their global slots: seven with 8-pixel cells, five with 6.
struct FontSlot {
    int32_t id;
    int32_t width;
};
constexpr FontSlot kFontSlots[] = {
    {resources::kFontWhite, 8},          {resources::kFontAmber, 8},         {resources::kFontGrey, 8},
    {resources::kFontCursor, 8},         {resources::kFontCyan, 8},          {resources::kFontMuted, 8},
    {resources::kFontNormal, 8},         {resources::kSmallFontHighlight, 6}, {resources::kSmallFontCursor, 6},
    {resources::kSmallFontGrey, 6},      {resources::kSmallFontNormal, 6},   {resources::kSmallFontCyan, 6},
};
static_assert(std::size(kFontSlots) <= kBitmapFonts);

void forgetPage(TesselUI*& page)
{
    if (page)
        page->forget();
    page = nullptr;
}

} // namespace

TesselEditor::TesselEditor(TesselPlugin& plugin)
    : AEffGUIEditor(&plugin), plugin_(&plugin), engine_(&plugin.getEngine()),
      pendingReport_(services::claimPendingReport()), fileCommands_(*this),
      follower_(*engine_, log_)
{
    log_.open(logIdentity(plugin));   // records stay in memory when the file cannot be written
    setUsageLog(&log_);
    log_.logPreferences(pluginPreferences());

    frameSlices_ = new CBitmap(resources::kFrameSlices);
    updateCheck_ = std::make_unique<services::UpdateCheck>(
        engineGlobals().programVersion,
        updateCheckAddressSource ? updateCheckAddressSource() : services::updateCheckAddress());
    splash_ = new TesselSplashUI(this, [this] { return windowSystem() ? windowSystem()->ticks() : platform::milliseconds(); });
    pages_.splash = splash_;

    const std::string temporary = platform::temporaryFolder();
    fontPath_ = resources::registerProductFont(platform::FontCatalog::process(), temporary);
    helpWindows_ = std::make_unique<TesselHelpWindows>(*this, temporary);

    loadBitmapFonts();
    capsPlate_ = new CBitmap(resources::kCapsLockPlate);
    cursorBlock_ = new CBitmap(resources::kCursorBlock);

    instrument_ = 1;
    sample_ = 1;
    liveNote_.effect.command = 'S';
    liveNote_.effect.parameter = 0x74;

    rect = ERect{0, 0, kToolbarHeight, kToolbarWidth};
}

void TesselEditor::loadBitmapFonts()
{
    auto& fonts = bitmapFonts();
    for (size_t i = 0; i < std::size(kFontSlots); ++i)
        fonts[i] = std::make_unique<TesselFont>(kFontSlots[i].id, kFontSlots[i].width);
}

TesselEditor::~TesselEditor()
{
    if (frame)
        close();
    // The threads first: they write the flag and the file they own.
    updateCheck_.reset();
    helpWindows_.reset();

    if (platform::Window* window = editorWindow())
        window->killTimer(kTimerIdle);
    capsPlate_->forget();
    cursorBlock_->forget();
    frameSlices_->forget();
    if (!fontPath_.empty())
        resources::unregisterProductFont(platform::FontCatalog::process(), fontPath_);
    forgetPages();
    for (auto& font : bitmapFonts())
        font.reset();
    pageOffscreen().reset();

    setUsageLog(nullptr);
    if (!log_.path().empty())
        std::remove(log_.path().c_str());
}

void TesselEditor::forgetPages()
{
    follower_.linkPatternEditor(nullptr);
    TesselUI* pages[] = {splash_, help_, preferences_, orderList_, info_, instrumentList_, sampleList_,
                         patternEditor_, toolbar_};
    for (TesselUI*& page : pages)
        forgetPage(page);
    splash_ = nullptr;
    help_ = nullptr;
    preferences_ = nullptr;
    orderList_ = nullptr;
    info_ = nullptr;
    instrumentList_ = nullptr;
    sampleList_ = nullptr;
    patternEditor_ = nullptr;
    toolbar_ = nullptr;
    current_ = nullptr;
    pages_ = TesselPages{};
}

namespace {

TesselPluginEditor* makeTesselEditor(TesselPlugin& plugin, audioMasterCallback /*host*/)
{
    return new TesselEditor(plugin);
}

// A song the host hands over is shown from the pattern editor page, the next
// time the editor opens as well.
void showHostSongFromPatternEditor()
{
    currentPageNumber() = kPatternEditorPage;
}

} // namespace

void installTesselEditor()
{
    TesselPluginEditor::maker = makeTesselEditor;
    TesselPluginEditor::songFromHost = showHostSongFromPatternEditor;
    // The toolkit's controls log their values through a hook: the usage log
    // is the shell's, and the song generation the model's.
    setTesselValueLog(logControlValue, [] { return songCounter().load(); });
}
