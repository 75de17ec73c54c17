#include "pagekit/path_box.h"

#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "pagekit/editor_services.h"
#include "gui_vst2/file_selector.h"
#include "pagekit/frame2.h"
#include "platform/key_event.h"
#include "vst2/audio_effect_x.h"
#include "vst2/effect_editor.h"
#include "resources/resource_ids.h"

#include <cstring>
#include <vector>

TesselPathBox::TesselPathBox(const CRect& rect, int32_t maxLength, const std::string& text,
                             TesselEditorServices* editor)
    : TesselTextBox(rect, maxLength, text, false), button_(new VSTGUI::CBitmap(resources::kFolderButton)),
      editor_(editor)
{
    classId = kClassId;
    shade = CColor{192, 192, 192, 0};
}

TesselPathBox::~TesselPathBox()
{
    button_->forget();
}

void TesselPathBox::setColour(uint32_t rgba)
{
    const CColor kept = shade;
    TesselTextBox::setColour(rgba);
    shade = kept;
}

CRect TesselPathBox::buttonRect() const
{
    const int32_t left = rect.right - 4;
    const int32_t top = rect.top + 1;
    return CRect(left, top, left + button_->getWidth() + 1, top + button_->getHeight() + 1);
}

bool TesselPathBox::hitTest(const CPoint& point)
{
    const CRect button = buttonRect();
    return TesselTextBox::hitTest(point) || (buttonShown && point.h >= button.left && point.h <= button.right &&
                                             point.v >= button.top && point.v <= button.bottom);
}

int32_t* TesselPathBox::onKey(const TesselKeyEvent& key)
{
    if (key.keyUp)
        return &value;
    if (editablePath) {
        if (key.virtualKey == kVkEnter)
            return &value;
        TesselTextBox::onKey(key);
        return nullptr;
    }
    if (key.virtualKey == kVkEnter)
        chooseFolder();
    return &value;
}

int32_t* TesselPathBox::onMouse(int32_t buttons, const CPoint& point)
{
    const CRect button = buttonRect();
    const bool onButton = buttonShown && point.h >= button.left && point.h < button.right && point.v >= button.top &&
                          point.v < button.bottom;
    if (editablePath && !onButton)
        return TesselTextBox::onMouse(buttons, point);
    chooseFolder();
    return &value;
}

const std::string& TesselPathBox::chooseFolder()
{
    // One modal popup at a time: the chooser waits for none.
    if (editor_ && editor_->popupActive())
        return name;
    platform::Window* owner = nullptr;
    AudioEffectX* plugin = nullptr;
    if (editor_) {
        // The editor is also the effect's VST 2 editor: through its effect
        // the host may show its own chooser.
        if (auto* effectEditor = dynamic_cast<AEffEditor*>(editor_))
            plugin = dynamic_cast<AudioEffectX*>(effectEditor->getEffect());
        if (CFrame2* frame = editor_->frame2())
            owner = frame->getWindow();
    }
    VstFileSelect selection{};
    selection.command = kVstDirectorySelect;
    std::strncpy(selection.title, chooserTitle.c_str(), sizeof selection.title - 1);
    std::vector<char> start(name.begin(), name.end());
    start.push_back(0);
    selection.initialPath = start.data();
    // Room for the text's longest folder and its '/': a longer one fails.
    std::vector<char> chosen(static_cast<size_t>(std::max(maxLength, 1)), 0);
    selection.returnPath = chosen.data();
    selection.sizeReturnPath = static_cast<VstInt32>(chosen.size());
    {
        if (editor_)
            editor_->beginPopup();
        CFileSelector selector(plugin);
        const bool chose = selector.run(&selection, owner) > 0;
        if (editor_)
            editor_->endPopup();
        if (chose) {
            name = chosen.data();
            if (name.empty() || name.back() != '/')
                name += '/';
            dirty = true;
        }
    }
    caret = static_cast<int32_t>(name.size());
    afterKey();
    return name;
}

void TesselPathBox::drawText(VSTGUI::CDrawContext* context, const char* text, bool focused)
{
    TesselTextBox::drawText(context, text, focused);
    if (!context || !buttonShown)
        return;
    // The frame takes its right and bottom edges in: the button's size plus one.
    const CRect frame = buttonRect();
    context->setFrameColor(shade);
    context->drawRect(CRect(frame.left, frame.top, frame.right - 1, frame.bottom - 1));
    button_->draw(context, CRect(frame.left, frame.top + 1, frame.left + button_->getWidth(),
                                 frame.top + 1 + button_->getHeight()));
}
