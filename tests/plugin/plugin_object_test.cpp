#include "plugin_fixture.h"

#include "engine/midi/midi_out.h"
#include "platform/dialogs/message_box.h"
#include "plugin/plugin_editor.h"
#include "vst2/pin_properties.h"

#include <cmath>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace {

TEST_F(PluginTest, ConstructionSetsTheRecordAndAsksTheHost)
{
    FakeHost::get().answers[audioMasterGetVendorVersion] = 42;
    TesselPlugin& p = make();
    AEffect* e = p.getAeffect();
    EXPECT_EQ(e->flags, 309);
    EXPECT_EQ(e->numInputs, 0);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->uniqueID, kQuorbelUniqueId);
    EXPECT_EQ(pluginInstances().count.load(), 1);
    EXPECT_EQ(pluginInstances().number, 1);
    EXPECT_EQ(hostIdentity().vendorVersion, 42);
    EXPECT_EQ(hostIdentity().positionOffset, 0.0);
    EXPECT_NE(p.pluginEditor(), nullptr);
    EXPECT_EQ(p.getEngine().editor, p.pluginEditor());
    EXPECT_EQ(p.getBlockSize(), 1024);
    EXPECT_EQ(p.getEngine().output.frames, 1024);
    EXPECT_EQ(p.getEngine().sampleRate, 44100.0f);
    EXPECT_EQ(p.getVendorVersion(), 1100);
    bool askedForMidi = false;
    for (const HostCall& call : FakeHost::get().calls)
        askedForMidi |= call.opcode == audioMasterWantMidi && call.value == 1;
    EXPECT_TRUE(askedForMidi);

    plugin.reset();
    EXPECT_EQ(pluginInstances().count.load(), 0);
}

VstIntPtr emagicHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    if (opcode == audioMasterGetVendorString) {
        std::strcpy(static_cast<char*>(ptr), "EMAGIC");
        return 1;
    }
    return FakeHost::callback(effect, opcode, index, value, ptr, opt);
}

TEST_F(PluginTest, OneHostGetsAPositionOffset)
{
    plugin = std::make_unique<TesselPlugin>(emagicHost);
    EXPECT_EQ(hostIdentity().positionOffset, 160.0);
    EXPECT_STREQ(plugin->hostVendor(), "EMAGIC");
    plugin.reset();
    make();
    EXPECT_EQ(hostIdentity().positionOffset, 0.0);
}

TEST_F(PluginTest, FailedEditorIsAConstructionFailure)
{
    TesselPluginEditor::maker = [](TesselPlugin&, audioMasterCallback) -> TesselPluginEditor* {
        throw std::runtime_error("no editor");
    };
    TesselPlugin& p = make();
    EXPECT_TRUE(pluginInstances().constructionFailed);
    EXPECT_EQ(p.pluginEditor(), nullptr);
    EXPECT_EQ(p.getAeffect()->flags & effFlagsHasEditor, 0);
    plugin.reset();
    EXPECT_EQ(pluginInstances().count.load(), 0);
}

// The default MIDI delay is one host block in whole milliseconds, whichever
// of rate and block size the host sets last.
TEST_F(PluginTest, MidiDelayFollowsTheHostsRateAndBlockInEitherOrder)
{
    const struct {
        float rate;
        VstInt32 block;
        bool rateFirst;
        int32_t milliseconds;
        int32_t frames;
    } cases[] = {
        {44100.0f, 512, true, 11, 485},
        {48000.0f, 512, false, 10, 480},
        {48000.0f, 2048, true, 42, 2016},
        {96000.0f, 256, false, 2, 192},
    };
    TesselPlugin& p = make();
    const TesselMidiOut& midi = *p.getEngine().midiOut;
    for (const auto& c : cases) {
        if (c.rateFirst)
            p.setSampleRate(c.rate);
        p.setBlockSize(c.block);
        if (!c.rateFirst)
            p.setSampleRate(c.rate);
        EXPECT_EQ(midi.delay(), c.milliseconds) << c.rate << " Hz, " << c.block;
        EXPECT_EQ(midi.delayFrames(), c.frames) << c.rate << " Hz, " << c.block;
    }
}

TEST_F(PluginTest, ProcessZeroesEveryFrameOfLongBlocks)
{
    TesselPlugin& p = make();
    p.setBlockSize(20000);
    EXPECT_EQ(p.getBlockSize(), 20000);
    EXPECT_EQ(p.getEngine().output.frames, TesselBusBuffer::kFrames);
    std::vector<float> left(20000, NAN), right(20000, NAN);
    float* outputs[2] = {left.data(), right.data()};
    p.processReplacing(nullptr, outputs, 20000);
    for (size_t i = 0; i < left.size(); ++i)
        ASSERT_TRUE(left[i] == 0.0f && right[i] == 0.0f) << i;
}

TEST_F(PluginTest, PendingBlockIsCopiedOnceWithoutRendering)
{
    TesselPlugin& p = make();
    TesselBusBuffer& out = p.getEngine().output;
    p.setBlockSize(64);
    for (int i = 0; i < 64; ++i) {
        out.channel[0][i] = 0.5f;
        out.channel[1][i] = -0.25f;
    }
    p.getEngine().blockFrames = 64;
    out.pending = 1;
    std::vector<float> left(64, NAN), right(64, NAN);
    float* outputs[2] = {left.data(), right.data()};
    p.process(nullptr, outputs, 64);
    EXPECT_EQ(left[63], 0.5f);
    EXPECT_EQ(right[0], -0.25f);
    EXPECT_EQ(out.pending, 0);
}

TEST_F(PluginTest, WiderArrangementNeverWritesPastTheHostsOutputs)
{
    TesselPlugin& p = make();
    std::vector<char> in(speakerArrangementBytes(0)), wide(speakerArrangementBytes(8));
    auto* input = reinterpret_cast<VstSpeakerArrangement*>(in.data());
    auto* output = reinterpret_cast<VstSpeakerArrangement*>(wide.data());
    input->type = -1;
    output->type = 11;
    output->numChannels = 8;
    EXPECT_FALSE(p.setSpeakerArrangement(nullptr, output));
    ASSERT_TRUE(p.setSpeakerArrangement(input, output));
    VstSpeakerArrangement* gotIn = nullptr;
    VstSpeakerArrangement* gotOut = nullptr;
    ASSERT_TRUE(p.getSpeakerArrangement(&gotIn, &gotOut));
    EXPECT_EQ(gotOut->numChannels, 8);
    std::vector<float> left(32, NAN), right(32, NAN);
    float* outputs[2] = {left.data(), right.data()};   // the host has two outputs only
    p.process(nullptr, outputs, 32);
    EXPECT_EQ(right[31], 0.0f);
}

TEST_F(PluginTest, AnswersAboutItself)
{
    TesselPlugin& p = make();
    VstPinProperties pin{};
    std::strcpy(pin.shortLabel, "keep");
    ASSERT_TRUE(p.getOutputProperties(1, &pin));
    EXPECT_STREQ(pin.label, "Main Output");
    EXPECT_EQ(pin.flags, 5);
    EXPECT_EQ(pin.arrangementType, 1);
    EXPECT_STREQ(pin.shortLabel, "keep");
    EXPECT_FALSE(p.getOutputProperties(2, &pin));
    EXPECT_FALSE(p.getOutputProperties(-1, &pin));

    FakeHost::get().answers[audioMasterCanDo] = 1;
    char openSelector[] = "openFileSelector";
    char closeSelector[] = "closeFileSelector";
    char other[] = "sizeWindow";
    EXPECT_EQ(p.canHostDo(openSelector), 0);
    EXPECT_EQ(p.canHostDo(closeSelector), 0);
    EXPECT_EQ(p.canHostDo(other), 1);
    EXPECT_TRUE(p.keysRequired());
    EXPECT_EQ(p.dispatcher(effKeysRequired, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(p.dispatcher(kOpcodeIsPlaying, 0, 0, nullptr, 0.0f), 0);
    p.getEngine().transport = kPlayingSong;
    EXPECT_EQ(p.dispatcher(kOpcodeIsPlaying, 0, 0, nullptr, 0.0f), 1);
    p.getEngine().transport = kStoppedCut;
}

std::vector<std::string> boxes;

TEST(PluginEntryBoxes, RecorderTakesTheBoxes)
{
    boxes.clear();
    platform::setMessageBoxRecorder([](const char* text, const char* caption, unsigned style) {
        boxes.push_back(std::string(caption) + "|" + text + "|" + std::to_string(style));
    });
    platform::showMessageBox("ERROR: test", "Quorbel", platform::kBoxSystemModal | platform::kBoxIconError);
    platform::setMessageBoxRecorder(nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Quorbel|ERROR: test|4112");
}

} // namespace

namespace {

TEST_F(PluginTest, PlainEditorKeepsTheUsageLogWhileThePluginLives)
{
    make();
    TesselUsageLog* log = usageLog();
    ASSERT_NE(log, nullptr);
    const std::string path = log->path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(access(path.c_str(), F_OK), 0);
    ERect* rect = nullptr;
    EXPECT_EQ(plugin->dispatcher(effEditGetRect, 0, 0, &rect, 0.0f), 1);
    EXPECT_EQ(rect->right, PlainEditor::kWidth);
    plugin.reset();
    EXPECT_EQ(usageLog(), nullptr);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
}

} // namespace
