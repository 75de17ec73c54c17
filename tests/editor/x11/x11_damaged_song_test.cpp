// A chunk with samples that could not be read, handed over while the editor
// shows on a real X server: the status line names them, in a screenshot for
// a person to look at.

#include "editor/damaged_song.h"
#include "x11_editor_fixture.h"
#include "platform/dialogs/message_box.h"
#include "platform/status_text.h"
#include "plugin/song_files.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> boxes;

TEST_F(EditorOnX, TheStatusLineNamesTheSamplesAChunkCouldNotRead)
{
    const ::Window editorXid = openPastSplash();
    ASSERT_NE(editorXid, 0u);
    installChunkSongFiles();
    boxes.clear();
    platform::setMessageBoxRecorder([](const char* text, const char*, unsigned) { boxes.emplace_back(text); });
    const ScratchFolder folder;
    std::string chunk = readWholeFile(makeDamagedSong(plugin->getEngine(), folder));

    EXPECT_EQ(plugin->setChunk(chunk.data(), static_cast<VstInt32>(chunk.size())), 2);
    idlePasses(8);
    ASSERT_TRUE(writeShot(editorXid, "status_samples_not_read.png"));
    EXPECT_EQ(platform::statusText(), "Loading from host... completed. Samples not read: 02, 03.");
    EXPECT_EQ(boxes.size(), 1u);

    platform::setMessageBoxRecorder(nullptr);
    TesselSongFiles::save = nullptr;
    TesselSongFiles::load = nullptr;
    TesselSongFiles::apply = nullptr;
    dispatch(effEditClose);
}

} // namespace
