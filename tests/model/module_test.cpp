#include "module_test_support.h"

#include "platform/system/clock.h"
#include "support/lock_held_elsewhere.h"

#include <cstring>
#include <string>

TEST_F(ModuleTest, AModuleWithoutOwnerStartsFromTheDefaults)
{
    auto song = makeSong();
    EXPECT_EQ(song->owner(), nullptr);
    EXPECT_EQ(song->tempo, 120.0);
    EXPECT_EQ(song->resolution, 6.0);
    EXPECT_EQ(song->rowsPerQuarter, 4);
    EXPECT_EQ(song->timingMode, TesselModule::Resolution);
    EXPECT_EQ(song->midiIn, 1);
    EXPECT_EQ(song->reserved, 1);
    EXPECT_EQ(song->text[0], '\0');
    EXPECT_EQ(songCounter().load(), 0);
    for (int i = 0; i < kPatterns; ++i) {
        const TesselPattern& p = song->patterns[static_cast<size_t>(i)];
        EXPECT_EQ(p.index, i);
        EXPECT_EQ(p.length(), 64);
        EXPECT_EQ(p.majorStep, 16);
        EXPECT_EQ(p.minorStep, 4);
        EXPECT_TRUE(p.isUnused());
    }
    for (int j = 0; j < kSamples; ++j) {
        EXPECT_EQ(song->samples[static_cast<size_t>(j)].index, j);
        EXPECT_TRUE(song->samples[static_cast<size_t>(j)].isEmpty());
    }
    for (int j = 0; j < kInstruments; ++j) {
        EXPECT_EQ(song->instruments[static_cast<size_t>(j)].index, j);
        EXPECT_TRUE(song->instruments[static_cast<size_t>(j)].isEmpty()) << j;
    }
    EXPECT_STREQ(song->instruments[98].label, "99");
    EXPECT_STREQ(song->channels[0].name, "Channel 1     ");
    EXPECT_STREQ(song->channels[9].name, "Channel 10    ");
    EXPECT_STREQ(song->channels[63].name, "Channel 64    ");
    EXPECT_EQ(std::strlen(song->channels[63].name), 14u);
    EXPECT_EQ(song->channels[5].index, 5);
    EXPECT_EQ(song->channels[5].panning, 32);
    EXPECT_EQ(song->channels[5].cutoff, 127);
    EXPECT_EQ(song->channels[5].outputBus, 1);
    EXPECT_STREQ(song->outputBus.name, "Output Bus 1");
    EXPECT_EQ(song->outputBus.type, 2);
    EXPECT_TRUE(song->outputBus.isDefault());
    EXPECT_TRUE(song->orderList.isEmpty());
    EXPECT_EQ(song->orderList.length, 0);
}

TEST_F(ModuleTest, ResetClearsEverythingButTheOutputBusAndSetsTheSharedDefaults)
{
    auto song = makeSong();
    auto other = makeSong();
    EXPECT_EQ(songCounter().load(), 1);
    song->text[0] = 'x';
    song->timingMode = TesselModule::Speed;
    song->midiIn = 0;
    song->reserved = 7;
    song->outputBus.setName("Main");
    song->orderList.entries[3].pattern = 5;
    song->orderList.pitchMode = 1;
    song->patterns[4].tracks.getTrack(2).getRow(1).pitch = 50;
    song->patterns[4].setLabel("AB");
    song->samples[3].setName("Kick");
    song->instruments[6].setName("Bass");
    song->instruments[6].colour = 0;
    song->channels[7].mute = 1;
    song->channels[7].setVolume(10);
    documentVersion() = 0.9f;

    song->reset(140.0, 3.0, 6);
    EXPECT_EQ(songCounter().load(), 2);
    EXPECT_EQ(documentVersion(), platform::programVersion());
    EXPECT_EQ(song->tempo, 140.0);
    EXPECT_EQ(song->resolution, 3.0);
    EXPECT_EQ(song->rowsPerQuarter, 6);
    EXPECT_EQ(song->timingMode, TesselModule::Resolution);
    EXPECT_EQ(song->midiIn, 1);
    EXPECT_EQ(song->text[0], '\0');
    EXPECT_EQ(song->reserved, 7);
    EXPECT_STREQ(song->outputBus.name, "Main");
    EXPECT_TRUE(song->orderList.isEmpty());
    EXPECT_FALSE(song->orderList.inPitchMode());
    EXPECT_EQ(song->patterns[4].length(), 96);
    EXPECT_EQ(song->patterns[4].majorStep, 24);
    EXPECT_EQ(song->patterns[4].minorStep, 6);
    EXPECT_TRUE(song->patterns[4].isUnused());
    EXPECT_TRUE(song->samples[3].isEmpty());
    EXPECT_TRUE(song->instruments[6].isEmpty());
    EXPECT_EQ(song->channels[7].mute, 0);
    EXPECT_EQ(song->channels[7].volume, 64);

    // The defaults are the process's: the other module's untouched 64-row
    // patterns no longer count as unused.
    EXPECT_EQ(patternDefaults().length, 96);
    EXPECT_FALSE(other->patterns[0].isUnused());

    song->reset(120.0, 6.0, 0);   // kept to a length that fits
    EXPECT_EQ(song->patterns[0].length(), 16);
    song->reset(120.0, 6.0, 40);
    EXPECT_EQ(song->patterns[0].length(), 256);
}

TEST_F(ModuleTest, AllModulesShareTheSongLock)
{
    auto song = makeSong();
    auto preview = makeSong();
    EXPECT_EQ(&song->songLock(), &preview->songLock());
    ASSERT_TRUE(song->songLock().lock(0));
    ASSERT_TRUE(preview->songLock().lock(0));   // re-entrant for its owner
    EXPECT_TRUE(preview->songLock().unlock());
    EXPECT_TRUE(song->songLock().unlock());
}

TEST_F(ModuleTest, AnEditWaitingForTheSongLockHeldElsewhereTimesOutAndChangesNothing)
{
    auto song = makeSong();
    auto engineSong = makeSong();   // built here: resets touch process-wide values
    auto holder = std::make_unique<LockHeldElsewhere>(engineSong->songLock());
    const int32_t counter = songCounter().load();
    song->samples[0].setName("Keep");

    const uint32_t start = platform::milliseconds();
    bool edited = false;
    {
        platform::MutexLock lock(song->songLock(), editLockWaitMs);
        if (lock) {
            song->reset(90.0, 3.0, 2);
            edited = true;
        }
    }
    const uint32_t waited = platform::milliseconds() - start;
    holder.reset();

    EXPECT_FALSE(edited);
    EXPECT_GE(waited, 900u);
    EXPECT_EQ(songCounter().load(), counter);
    EXPECT_EQ(song->tempo, 120.0);
    EXPECT_EQ(song->samples[0].nameText().substr(0, 4), "Keep");
    EXPECT_EQ(patternDefaults().length, 64);
    EXPECT_TRUE(song->songLock().lock(0));   // free again once the holder is done
    song->songLock().unlock();
}

TEST_F(ModuleTest, ChannelsClampVolumeAndPanningAndCopyTheirStoredEffectMemory)
{
    TesselChannel preview;
    EXPECT_EQ(preview.index, 64);
    EXPECT_STREQ(preview.name, "Channel 65    ");
    EXPECT_EQ(preview.setVolume(80), 64);
    EXPECT_EQ(preview.setPanning(-3), 0);
    EXPECT_EQ(preview.setVolume(12), 12);

    TesselChannel song;
    song.index = 3;
    song.reset();
    song.colour = 0x123456;
    auto* fakeOut = reinterpret_cast<TesselMidiOut*>(&song);
    song.midiOut = fakeOut;
    TesselEffectSlot& slot = song.effectSlots[1];
    slot.memoryFor('D')->value = 0x0F;
    slot.vibratoSpeed = 4;
    slot.portamentoTarget = 40;
    slot.vibratoFactor = 1.5f;
    slot.loopPasses = 3;
    slot.loopMark = 4;
    TesselChannel live;
    live.effectSlots[1].arpeggioFactor = 2.0f;
    live.assign(song);
    EXPECT_EQ(live.index, 3);
    EXPECT_EQ(live.colour, 0x123456u);
    EXPECT_EQ(live.midiOut, fakeOut);
    EXPECT_STREQ(live.name, "Channel 4     ");
    const TesselEffectSlot& copied = live.effectSlots[1];
    EXPECT_EQ(copied.memoryFor('D')->value, 0x0F);
    EXPECT_EQ(copied.vibratoSpeed, 4);
    EXPECT_EQ(copied.portamentoTarget, 40);
    EXPECT_EQ(copied.vibratoFactor, 1.0f);   // not stored: the live record's own
    EXPECT_EQ(copied.arpeggioFactor, 2.0f);
    EXPECT_EQ(copied.loopPasses, 0);
    EXPECT_EQ(copied.loopMark, 0);
}

TEST_F(ModuleTest, EffectMemoryRecallsAndReplacesNibbles)
{
    TesselEffectSlot slot;
    EXPECT_EQ(slot.command, '.');
    EXPECT_EQ(slot.portamentoTarget, -1);
    EXPECT_EQ(slot.memoryFor('H')->nibbleMode, 1);
    EXPECT_EQ(slot.memoryFor('Y')->nibbleMode, 1);
    EXPECT_EQ(slot.memoryFor('D')->nibbleMode, 0);
    EXPECT_EQ(slot.memoryFor('a'), nullptr);
    EXPECT_EQ(slot.memoryFor('/'), nullptr);

    TesselEffectMemory nibbles{0x37, 1};
    EXPECT_EQ(nibbles.apply(0x05), 0x35);
    EXPECT_EQ(nibbles.apply(0x40), 0x45);
    EXPECT_EQ(nibbles.apply(0), 0x45);
    TesselEffectMemory whole{0x37, 0};
    EXPECT_EQ(whole.apply(0), 0x37);
    EXPECT_EQ(whole.apply(0x05), 0x05);
}

TEST_F(ModuleTest, OutputBusDefaultsFollowItsIndex)
{
    TesselOutputBus bus;
    EXPECT_STREQ(bus.name, "Output Bus 1");
    EXPECT_TRUE(bus.isDefault());
    bus.type = 1;
    EXPECT_FALSE(bus.isDefault());
    bus.index = 2;
    bus.reset();
    EXPECT_STREQ(bus.name, "Output Bus 3");
    EXPECT_TRUE(bus.isDefault());
    bus.setName(std::string(100, 'x').c_str());
    EXPECT_EQ(std::strlen(bus.name), 63u);
}

TEST_F(ModuleTest, AnOwnedModuleWaitsForItsOwnerToResetIt)
{
    int engine = 0;
    auto* owner = reinterpret_cast<TesselEngine*>(&engine);
    auto song = std::make_unique<TesselModule>(owner);
    EXPECT_EQ(song->owner(), owner);
    EXPECT_EQ(songCounter().load(), -1);
    EXPECT_EQ(song->patterns[17].index, 17);
    EXPECT_TRUE(song->songPath.empty());
    song->reset(125.0, 6.0, 4);
    EXPECT_EQ(songCounter().load(), 0);
    song->songPath = "/tmp/song.zip";
    song->reset(125.0, 6.0, 4);
    EXPECT_EQ(song->songPath, "/tmp/song.zip");   // the engine's new-song command empties it
}

TEST_F(ModuleTest, TheEmptyPatternSearchStaysInsideThePatterns)
{
    std::unique_ptr<TesselModule> owned = makeSong();
    TesselModule& song = *owned;
    EXPECT_EQ(song.findEmptyPattern(0), 0);
    song.patterns[0].tracks.getTrack(3).getRow(5).pitch = 60;
    song.patterns[1].setLabel("AB");
    song.patterns[2].majorStep = 8;
    song.patterns[3].setLength(32);
    EXPECT_EQ(song.findEmptyPattern(0), 4);
    EXPECT_EQ(song.findEmptyPattern(199), 199);
    song.patterns[199].setLabel("Z");
    EXPECT_EQ(song.findEmptyPattern(199), -1);
    EXPECT_EQ(song.findEmptyPattern(200), -1);
    EXPECT_EQ(song.findEmptyPattern(-1), -1);
}
