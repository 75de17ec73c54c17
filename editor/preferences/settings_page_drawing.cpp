// The settings page's face: its labels, the section headings and the seven
// controls showing the preferences in force.

#include "editor/preferences/settings_page.h"

#include "gui/bitmap.h"
#include "gui/bitmap_text.h"
#include "gui/controls/control_fonts.h"
#include "gui/page_fonts.h"
#include "gui/lists/drop_list.h"
#include "gui/tessel_font.h"
#include "shell/preferences.h"
#include "resources/resource_ids.h"

#include <cstring>

namespace {

constexpr const char* kLabels[TesselSettingsUI::kControlCount] = {"Refresh", "Face",    "Width", "Samples",
                                                                   "Instruments", "Modules", "Delay"};
struct Heading {
    int32_t control;
    const char* text;
};
constexpr Heading kHeadings[] = {
    {TesselSettingsUI::kRefresh, "User Interface"},
    {TesselSettingsUI::kFace, "Pattern Font"},
    {TesselSettingsUI::kSamples, "Default Folders"},
    {TesselSettingsUI::kDelay, "MIDI Configuration"},
};
constexpr int32_t kHeadingLeft = 15;
constexpr int32_t kHeadingHeight = 11;

TesselFont* headingFont()
{
    return pageFont(resources::kSmallFontCyan, 6);
}

} // namespace

void TesselSettingsUI::drawLabels(CDrawContext& face)
{
    TesselFont* small = controlFont(TesselControlFont::Normal, true);
    for (int32_t control = 0; control < kControlCount; ++control) {
        const int32_t width = static_cast<int32_t>(std::strlen(kLabels[control])) * small->getCharacterWidth();
        drawBitmapText(&face, kLabels[control], kLabelRight - width, kControlTops[control] + 2, small);
    }
    for (const Heading& heading : kHeadings) {
        const int32_t top = kControlTops[heading.control] - kHeadingHeight;
        heading_->draw(&face, CRect(kHeadingLeft, top, kHeadingLeft + heading_->getWidth(), top + kHeadingHeight));
        drawBitmapText(&face, heading.text, kHeadingLeft + 4, top + 2, headingFont());
    }
}

void TesselSettingsUI::compose(CDrawContext& face)
{
    drawLabels(face);

    const TesselPreferences& preferences = getPreferences();
    refresh_->draw(&face, preferences.graphicsPriority ? 1 : 0, focus_ == kRefresh);
    font_.drawFont(&face, preferences.font, focus_ == kFace);
    width_.draw(&face, preferences.fontWidth, focus_ == kWidth);
    for (int32_t control = kSamples; control <= kModules; ++control) {
        TesselPathBox& box = folders_[static_cast<size_t>(control - kSamples)];
        box.drawText(&face, box.name.c_str(), focus_ == control);
    }
    delay_.draw(&face, preferences.midiDelay, focus_ == kDelay);
}
