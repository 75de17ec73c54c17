// The block renders the voices hung on the engine's channel lists.
#include "engine/engine_fixture.h"
#include "mixer_fixture.h"

using namespace mixer_test;

namespace {

struct SilentEditor : TesselEditorLink {};

struct BlockPlugin : TesselPluginLink {
    intptr_t canHostDo(const char*) override { return 0; }
    const char* hostVendor() const override { return ""; }
    int32_t hostBlockSize() const override { return blockSize; }
    void noteHostBlockSize(int32_t frames) override { blockSize = frames; }
    int32_t blockSize = 256;
};

} // namespace

TEST_F(EngineTest, TheBlockMixesItsVoicesAndCarriesThemIntoTheNext)
{
    fillTesselTables();
    engine = std::make_unique<TesselEngine>();
    ASSERT_TRUE(engine->usable());
    SilentEditor editor;
    engine->editor = &editor;
    BlockPlugin plugin;
    engine->attachPlugin(&plugin);
    TesselSample sample;
    fillSample(sample, 2000, 1, 8, [](int, int f) { return static_cast<float>(f % 100); });

    TesselVoice& voice = *engine->voiceLists[4].head->voice;
    voice.sample = &sample;
    voice.position = 0;
    voice.ramp[0] = voice.ramp[2] = 1.0f;
    TesselVoiceEvent event;
    event.gain0 = event.gain1 = 1.0f;
    event.end = 256;
    event.state = kSounding;   // bus 1, as a channel reset leaves it
    ASSERT_TRUE(voice.appendEvent(event));
    voice.current.copyValues(event);   // the tick update finds nothing changed
    engine->transport = kStoppedReleased;   // a stopped and cut engine renders nothing

    ASSERT_TRUE(engine->process(256));
    EXPECT_EQ(voice.position, 256);
    EXPECT_FLOAT_EQ(engine->output.channel[0][10], 10.0f / 256.0f);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(engine->output.channel[0][i], engine->output.channel[1][i]) << i;

    ASSERT_TRUE(engine->process(128));
    EXPECT_EQ(voice.position, 384);
    EXPECT_FLOAT_EQ(engine->output.channel[0][0], 56.0f / 256.0f);
    ASSERT_NE(voice.events, nullptr);
    EXPECT_EQ(voice.events->end, 128);
    voice.sample = nullptr;   // the sample goes before the engine
}
