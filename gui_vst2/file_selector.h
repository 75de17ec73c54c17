#pragma once
// The toolkit's file selector as a VST 2 plug-in asks for it: a VstFileSelect
// record, answered by the toolkit's selector (gui/file_selector.h) over the
// plug-in editor's window, or by the host's own selector when it can both
// open and close one, which the plug-in never claims. GUI thread only.

#include "platform/dialogs/dialogs.h"
#include "vst2/effect_record.h"

#include <cstdint>

class AudioEffectX;
namespace platform {
class Window;
}

namespace VSTGUI {

class CFileSelector {
public:
    // At most this many paths come back from a selection of several files.
    static constexpr int32_t kMaxPaths = 1024;

    explicit CFileSelector(AudioEffectX* plugin) : plugin_(plugin) {}
    // Frees what run allocated: the return path when the reserved field is
    // 1, the paths of a multiple selection and their list; or lets the host
    // close its selector.
    virtual ~CFileSelector();
    CFileSelector(const CFileSelector&) = delete;
    CFileSelector& operator=(const CFileSelector&) = delete;

    // The number of paths chosen; 0 on cancel or failure. A return path the
    // caller gave (with its size) must hold the whole path: a longer one
    // fails the run, never cut; without one, the selector allocates it.
    // The parent is the given window, else the plug-in editor's frame window.
    int32_t run(VstFileSelect* selection, platform::Window* parent = nullptr);

    // The dialog request for a selection record.
    static platform::FileDialogRequest request(const VstFileSelect& selection);

private:
    platform::Window* parentWindow(platform::Window* given) const;
    bool hostRuns();
    bool returnPath(VstFileSelect& selection, const std::string& path);
    void returnPaths(VstFileSelect& selection, const std::vector<std::string>& paths);
    void release();

    AudioEffectX* plugin_;
    VstFileSelect* selection_ = nullptr;
    bool hostSelector_ = false;
};

} // namespace VSTGUI

using VSTGUI::CFileSelector;
