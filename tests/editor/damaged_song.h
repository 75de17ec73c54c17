#pragma once
// A module file as a backup or a mail may bring one: three samples made by
// sox in a song saved by the engine, zipped again by hand with zip, the second
// sample's file cut short and the third one's stored bytes damaged.

#include "engine/engine.h"
#include "model/scratch_folder.h"
#include "support/outside_tools.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// "song.zip" in the folder; the engine's song is new again afterwards.
inline std::string makeDamagedSong(TesselEngine& engine, const ScratchFolder& folder)
{
    EXPECT_TRUE(outside_tools::have({"sox", "zip", "unzip"}));
    for (int slot = 0; slot < 3; ++slot) {
        const std::string wav = folder.file("s" + std::to_string(slot) + ".wav");
        const std::string make = "sox -n -r 22050 -b 16 -c 1 '" + wav + "' synth 0.2 sine " +
                                 std::to_string(220 * (slot + 1));
        EXPECT_EQ(std::system(make.c_str()), 0);
        EXPECT_EQ(engine.song.samples[static_cast<size_t>(slot)].loadFile(wav), kFileLoaded);
    }
    std::string saved = folder.file("saved.zip");
    EXPECT_TRUE(engine.saveModule(saved));
    const std::string commands = "cd '" + folder.path() + "' && mkdir -p parts && cd parts && unzip -qo ../saved.zip"
                                 " && head -c 30 'Sample 001.wav' > cut && mv cut 'Sample 001.wav'"
                                 " && zip -q ../song.zip Module.xml 'Sample 000.wav' 'Sample 001.wav' 'Sample 002.wav'";
    EXPECT_EQ(std::system(commands.c_str()), 0);
    std::string bytes = readWholeFile(folder.file("song.zip"));
    const size_t third = bytes.find("Sample 002.wav");
    EXPECT_NE(third, std::string::npos);
    if (third != std::string::npos && third + 400 < bytes.size())
        for (size_t i = third + 200; i < third + 400; ++i)
            bytes[i] = static_cast<char>(0x5A);
    engine.newSong();
    return folder.write("song.zip", bytes);
}
