#include "fake_host.h"
#include "vst2/audio_effect_x.h"

#include <gtest/gtest.h>

namespace {

class Effect : public AudioEffectX {
public:
    explicit Effect(audioMasterCallback host = FakeHost::callback) : AudioEffectX(host, 0, 0) {}
    void process(float**, float**, VstInt32) override {}
    void setParameter(VstInt32 index, float value) override
    {
        lastIndex = index;
        lastValue = value;
    }
    VstInt32 lastIndex = -1;
    float lastValue = 0.0f;
};

// An effect loaded without a host callback.
struct Alone : AudioEffectX {
    Alone() : AudioEffectX(nullptr, 0, 0) {}
    void process(float**, float**, VstInt32) override {}
};

class HostRequests : public ::testing::Test {
protected:
    void SetUp() override { FakeHost::reset(); }
    void TearDown() override { FakeHost::reset(); }
    static FakeHost& host() { return FakeHost::get(); }
    const HostCall& last() { return host().calls.back(); }
};

} // namespace

TEST_F(HostRequests, EachRequestNamesItsOpcodeAndArguments)
{
    Effect effect;
    char text[64] = {};
    int token = 0;
    host().answers = {{audioMasterGetTime, reinterpret_cast<VstIntPtr>(&token)},
                      {audioMasterVersion, 2400},
                      {audioMasterGetVendorVersion, 1234},
                      {audioMasterCanDo, 1},
                      {audioMasterTempoAt, 120000}};

    effect.setParameterAutomated(5, 0.25f);
    EXPECT_EQ(effect.lastIndex, 5) << "the parameter is set before the host hears of it";
    EXPECT_EQ(last().opcode, audioMasterAutomate);
    EXPECT_EQ(last().index, 5);
    EXPECT_FLOAT_EQ(last().opt, 0.25f);
    EXPECT_EQ(last().effect, effect.getAeffect());

    EXPECT_EQ(effect.getMasterVersion(), 2400);
    EXPECT_EQ(effect.wantEvents(1), false);
    EXPECT_EQ(last().opcode, audioMasterWantMidi);
    EXPECT_EQ(last().value, 1);
    EXPECT_EQ(effect.getTimeInfo(0x603), reinterpret_cast<VstTimeInfo*>(&token));
    EXPECT_EQ(last().value, 0x603);
    EXPECT_EQ(effect.tempoAt(10), 120000);
    EXPECT_EQ(last().value, 10);
    EXPECT_FALSE(effect.sizeWindow(640, 480));
    EXPECT_EQ(last().opcode, audioMasterSizeWindow);
    EXPECT_EQ(last().index, 640);
    EXPECT_EQ(last().value, 480);
    EXPECT_FALSE(effect.getHostVendorString(text));
    EXPECT_EQ(last().opcode, audioMasterGetVendorString);
    EXPECT_EQ(last().ptr, text);
    EXPECT_FALSE(effect.getHostProductString(text));
    EXPECT_EQ(last().opcode, audioMasterGetProductString);
    EXPECT_EQ(effect.getHostVendorVersion(), 1234);
    EXPECT_EQ(effect.canHostDo(text), 1);
    EXPECT_EQ(last().opcode, audioMasterCanDo);
    EXPECT_EQ(effect.hostVendorSpecific(7, 8, text, 9.0f), 0);
    EXPECT_EQ(last().index, 7);
    EXPECT_EQ(last().value, 8);
    EXPECT_FLOAT_EQ(last().opt, 9.0f);
    EXPECT_FALSE(effect.beginEdit(3));
    EXPECT_EQ(last().opcode, audioMasterBeginEdit);
    EXPECT_EQ(last().index, 3);
    EXPECT_FALSE(effect.endEdit(3));
    EXPECT_EQ(last().opcode, audioMasterEndEdit);
    effect.masterIdle();
    EXPECT_EQ(last().opcode, audioMasterIdle);
    EXPECT_EQ(effect.setOutputSamplerate(96000.0f), 0);
    EXPECT_FLOAT_EQ(last().opt, 96000.0f);

    EXPECT_TRUE(effect.isInputConnected(1)) << "the host answers 0 for a connected pin";
    EXPECT_EQ(last().opcode, audioMasterPinConnected);
    EXPECT_EQ(last().value, 0);
    host().answers[audioMasterPinConnected] = 1;
    EXPECT_FALSE(effect.isOutputConnected(1));
    EXPECT_EQ(last().value, 1);
}

TEST_F(HostRequests, SendingEventsSucceedsOnlyWhenTheHostAnswersOne)
{
    Effect effect;
    VstEventList<4> list;
    EXPECT_FALSE(effect.sendVstEventsToHost(list.get()));
    EXPECT_EQ(last().opcode, audioMasterProcessEvents);
    EXPECT_EQ(last().ptr, list.get());
    host().answers[audioMasterProcessEvents] = 1;
    EXPECT_TRUE(effect.sendVstEventsToHost(list.get()));
    host().answers[audioMasterProcessEvents] = 2;
    EXPECT_FALSE(effect.sendVstEventsToHost(list.get()));
}

TEST_F(HostRequests, HostVersionZeroReadsAsOne)
{
    Effect effect;
    EXPECT_EQ(effect.getMasterVersion(), 1);
    host().answers[audioMasterVersion] = 2;
    EXPECT_EQ(effect.getMasterVersion(), 2);
}

TEST_F(HostRequests, SampleRateAndBlockSizeKeepTheirValueOnBadAnswers)
{
    Effect effect;
    for (VstIntPtr bad : {VstIntPtr(0), VstIntPtr(-48000)}) {
        host().answers[audioMasterGetSampleRate] = bad;
        host().answers[audioMasterGetBlockSize] = bad;
        EXPECT_FLOAT_EQ(effect.updateSampleRate(), 44100.0f);
        EXPECT_EQ(effect.updateBlockSize(), 1024);
    }
    host().answers[audioMasterGetSampleRate] = 48000;
    host().answers[audioMasterGetBlockSize] = 333;
    EXPECT_FLOAT_EQ(effect.updateSampleRate(), 48000.0f);
    EXPECT_EQ(effect.updateBlockSize(), 333);
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 48000.0f);
}

TEST_F(HostRequests, FileSelectorsNeedASelector)
{
    Effect effect;
    host().answers[audioMasterOpenFileSelector] = 1;
    host().answers[audioMasterCloseFileSelector] = 1;
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_FALSE(effect.closeFileSelector(nullptr));
    EXPECT_TRUE(host().calls.empty());
    auto* selector = reinterpret_cast<VstFileSelect*>(&effect);
    EXPECT_TRUE(effect.openFileSelector(selector));
    EXPECT_TRUE(effect.closeFileSelector(selector));
    EXPECT_EQ(last().opcode, audioMasterCloseFileSelector);
    EXPECT_EQ(last().ptr, selector);
}

TEST(HostRequestsWithoutHost, AnswerNeutrally)
{
    Alone effect;
    char text[64] = {};
    EXPECT_EQ(effect.getMasterVersion(), 1);
    EXPECT_TRUE(effect.isInputConnected(0));
    EXPECT_TRUE(effect.isOutputConnected(0));
    EXPECT_EQ(effect.getCurrentUniqueId(), 0);
    EXPECT_EQ(effect.getTimeInfo(0x603), nullptr);
    EXPECT_FALSE(effect.sendVstEventsToHost(nullptr));
    EXPECT_FALSE(effect.getHostVendorString(text));
    EXPECT_EQ(effect.canHostDo(text), 0);
    EXPECT_EQ(effect.getPreviousPlug(), nullptr);
    EXPECT_EQ(effect.getDirectory(), nullptr);
    EXPECT_FLOAT_EQ(effect.updateSampleRate(), 44100.0f);
    effect.setParameterAutomated(0, 1.0f);
    effect.masterIdle();
}

TEST(EffectText, NumbersFitEightCharacters)
{
    using Format = void (AudioEffect::*)(float, char*);
    const struct {
        Format format;
        float value;
        const char* expected;
    } floats[] = {
        {&AudioEffect::dB2string, 0.0f, "-oo"},          {&AudioEffect::dB2string, 1.0f, "0.000000"},
        {&AudioEffect::dB2string, 10.0f, "20.00000"},    {&AudioEffect::float2string, -3.5f, "-3.50000"},
        {&AudioEffect::float2string, 12345678.0f, "12345678"}, {&AudioEffect::float2string, 123456789.0f, "Huge!"},
        {&AudioEffect::float2string, -12345678.0f, "Huge!"}, {&AudioEffect::Hz2string, 0.0f, "0.000000"},
        {&AudioEffect::Hz2string, 441.0f, "100.0000"},   {&AudioEffect::ms2string, 44100.0f, "1000.000"},
    };
    Alone effect;
    char text[32];
    for (const auto& c : floats) {
        (effect.*c.format)(c.value, text);
        EXPECT_STREQ(text, c.expected) << c.value;
    }
    const std::pair<VstInt32, const char*> longs[] = {
        {42, "     42"}, {99999999, "99999999"}, {100000000, "Huge!"}, {-12345678, "-1234567"}};
    for (auto [value, expected] : longs) {
        effect.long2string(value, text);
        EXPECT_STREQ(text, expected) << value;
    }
}
