// The settings page's keys and clicks, and what each control's value does.

#include "editor/preferences/settings_page.h"

#include "engine/engine.h"
#include "engine/midi/midi_out.h"
#include "gui/bitmap.h"
#include "gui/lists/drop_list.h"
#include "platform/status_text.h"
#include "shell/preferences.h"
#include "resources/resource_ids.h"

#include <cstring>

namespace {

constexpr int32_t kLeftButton = 1;
// The editor keeps folders this long; the preferences keep less.
constexpr int32_t kFolderLength = 1024;
constexpr const char* kFolderPrompts[3] = {
    "Select the directory which contains your samples...",
    "Select the directory which contains your instruments...",
    "Select the directory which contains your modules...",
};

CRect controlPlace(int32_t control)
{
    const int32_t top = TesselSettingsUI::kControlTops[control];
    return CRect(TesselSettingsUI::kControlLeft, top, TesselSettingsUI::kControlRight, top + 11);
}


} // namespace

TesselSettingsUI::TesselSettingsUI(TesselEditorPageServices* editor)
    : TesselSubPage(editor, resources::kSettingsPanel, kClassId),
      refresh_(new TesselDropList(controlPlace(kRefresh), nullptr, "Normal")), font_(controlPlace(kFace), editor),
      width_(controlPlace(kWidth), -1, 32, -1, 2, "Auto"),
      folders_{TesselPathBox(controlPlace(kSamples), kFolderLength, "", editor),
               TesselPathBox(controlPlace(kInstruments), kFolderLength, "", editor),
               TesselPathBox(controlPlace(kModules), kFolderLength, "", editor)},
      delay_(controlPlace(kDelay), -1, 250, -1, 3, "Auto"), heading_(new CBitmap(resources::kSettingsHeading))
{
    for (size_t i = 0; i < folders_.size(); ++i)
        folders_[i].chooserTitle = kFolderPrompts[i];
    refresh_->addEntry("Normal");
    refresh_->addEntry("Faster");
    adoptDropList(refresh_);
}

TesselSettingsUI::~TesselSettingsUI()
{
    heading_->forget();
}


const TesselPathBox& TesselSettingsUI::folderBox(int32_t control) const
{
    return folders_[static_cast<size_t>(control - kSamples)];
}

TesselControl* TesselSettingsUI::controlAt(int32_t control)
{
    switch (control) {
    case kRefresh: return refresh_;
    case kFace: return &font_;
    case kWidth: return &width_;
    case kDelay: return &delay_;
    default: return &folders_[static_cast<size_t>(control - kSamples)];
    }
}

std::string TesselSettingsUI::sliderText(int32_t control) const
{
    bool typed = false;
    return (control == kWidth ? width_ : delay_).readout(typed);
}

const char* TesselSettingsUI::refreshText() const
{
    return refresh_->shownText();
}

std::string* TesselSettingsUI::editorFolder(int32_t control) const
{
    TesselEditorPageServices* editor = owner();
    if (!editor)
        return nullptr;
    switch (control) {
    case kSamples: return &editor->sampleFolder();
    case kInstruments: return &editor->instrumentFolder();
    default: return &editor->moduleFolder();
    }
}

char* TesselSettingsUI::preferenceFolder(int32_t control) const
{
    TesselPreferences& preferences = getPreferences();
    switch (control) {
    case kSamples: return preferences.samplePath;
    case kInstruments: return preferences.instrumentPath;
    default: return preferences.modulePath;
    }
}

void TesselSettingsUI::opened()
{
    const TesselPreferences& preferences = getPreferences();
    refresh_->setValue(preferences.graphicsPriority ? 1.0f : 0.0f);
    font_.setFont(preferences.font);
    width_.value = preferences.fontWidth;
    delay_.value = preferences.midiDelay;
    for (int32_t control = kSamples; control <= kModules; ++control) {
        const std::string* folder = editorFolder(control);
        TesselPathBox& box = folders_[static_cast<size_t>(control - kSamples)];
        box.init(*box.getRect(), kFolderLength, folder ? *folder : preferenceFolder(control), false);
    }
    focus_ = kRefresh;
}

void TesselSettingsUI::applyFolder(int32_t control)
{
    TesselPathBox& box = folders_[static_cast<size_t>(control - kSamples)];
    std::string* folder = editorFolder(control);
    if (!folder || box.name == *folder)
        return;
    // A folder longer than the preference's field is not kept cut: the old
    // one stays, in the preference, the editor and the box.
    if (box.name.size() >= static_cast<size_t>(TesselPreferences::kFolderSize)) {
        box.init(*box.getRect(), kFolderLength, *folder, false);
        platform::setStatusText("That folder's name is too long: the folder stays as it was.");
        return;
    }
    *folder = box.name;
    std::memcpy(preferenceFolder(control), box.name.c_str(), box.name.size() + 1);
}

void TesselSettingsUI::apply(int32_t control)
{
    TesselPreferences& preferences = getPreferences();
    TesselEditorPageServices* editor = owner();
    switch (control) {
    case kRefresh:
        if ((refresh_->currentValue() != 0) != (preferences.graphicsPriority != 0) && editor)
            editor->setFastRefresh(refresh_->currentValue() != 0);
        break;
    case kFace:
        if (std::memcmp(&font_.getFont(), &preferences.font, sizeof preferences.font) != 0 && editor)
            editor->setPatternFont(font_.getFont());
        break;
    case kWidth:
        if (width_.value != preferences.fontWidth && editor)
            editor->setPatternFontWidth(width_.value);
        break;
    case kDelay:
        if (delay_.value == preferences.midiDelay)
            break;
        preferences.midiDelay = delay_.value;
        // Without a MIDI output only the preference changes.
        if (engine && engine->midiOut)
            engine->midiOut->setDelay(delay_.value);
        break;
    default: applyFolder(control); break;
    }
}

void TesselSettingsUI::toControl(const TesselKeyEvent* key, int32_t buttons, const CPoint& point)
{
    TesselControl* control = controlAt(focus_);
    if (control == &font_)
        font_.setFont(getPreferences().font);   // the chooser starts from the font in use
    if (key)
        control->onKey(*key);
    else
        control->onMouse(buttons, point);
    apply(focus_);
}

int32_t TesselSettingsUI::onKeyEvent(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return 0;
    const uint8_t v = key.virtualKey;
    if (v == kVkTab || v == kVkDown || v == kVkUp) {
        const bool back = v == kVkUp || (v == kVkTab && (key.modifiers & kModShift));
        focus_ = (focus_ + (back ? kControlCount - 1 : 1)) % kControlCount;
    } else if (v == kVkEscape) {
        hide();
    } else {
        toControl(&key, 0, CPoint());
    }
    setDirty();
    return 1;
}

int32_t TesselSettingsUI::onMouseDown(int32_t x, int32_t y, CDrawContext* /*context*/, int32_t buttons)
{
    if (!newPress(buttons, kLeftButton))
        return 0;
    if (inCloseBox(x, y)) {
        hide();
        return 1;
    }
    const CPoint point(x, y);
    for (int32_t i = 0; i < kControlCount; ++i) {
        if (!controlAt(i)->hitTest(point))
            continue;
        focus_ = i;
        toControl(nullptr, buttons, point);
        break;
    }
    setDirty();
    return 1;
}
