#include "fake_host.h"
#include "vst2/audio_effect_x.h"
#include "vst2/effect_editor.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

int gLiveEffects = 0;
int gClosed = 0;

class TestEffect : public AudioEffectX {
public:
    explicit TestEffect(audioMasterCallback host = FakeHost::callback, VstInt32 programs = 0)
        : AudioEffectX(host, programs, 0)
    {
        ++gLiveEffects;
    }
    ~TestEffect() override { --gLiveEffects; }
    void process(float**, float**, VstInt32) override {}
    void close() override { ++gClosed; }
};

class KeyedEffect : public TestEffect {
public:
    bool keysRequired() override { return true; }
};

class RecordingEditor : public AEffEditor {
public:
    explicit RecordingEditor(AudioEffect* e, int* destroyed) : AEffEditor(e), destroyed_(destroyed) {}
    ~RecordingEditor() override { ++*destroyed_; }
    VstInt32 onKeyDown(VstKeyCode& key) override
    {
        lastKey = key;
        return 1;
    }
    VstInt32 setKnobMode(VstInt32 mode) override { return mode + 10; }
    VstKeyCode lastKey{};

private:
    int* destroyed_;
};

class EffectBase : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeHost::reset();
        gClosed = 0;
    }
    void TearDown() override { FakeHost::reset(); }
};

VstIntPtr dispatch(AudioEffect& e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f)
{
    return e.getAeffect()->dispatcher(e.getAeffect(), opcode, index, value, ptr, opt);
}

} // namespace

TEST_F(EffectBase, ConstructorFillsTheRecord)
{
    TestEffect effect;
    AEffect* a = effect.getAeffect();
    EXPECT_EQ(a->magic, 0x56737450);
    EXPECT_EQ(a->object, &effect);
    EXPECT_EQ(a->numInputs, 1);
    EXPECT_EQ(a->numOutputs, 2);
    EXPECT_EQ(a->flags, 0);
    EXPECT_EQ(a->uniqueID, 0x4E6F4566);
    EXPECT_EQ(a->version, 1);
    EXPECT_FLOAT_EQ(a->ioRatio, 1.0f);
    EXPECT_EQ(a->user, nullptr);
    EXPECT_EQ(a->processReplacing, &processClassReplacing);
    for (char c : a->future)
        EXPECT_EQ(c, 0);
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
}

TEST_F(EffectBase, CloseThroughTheEntryDeletesButTheObjectsOwnDispatcherDoesNot)
{
    auto* effect = new TestEffect;
    ASSERT_EQ(gLiveEffects, 1);
    EXPECT_EQ(effect->dispatcher(effClose, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(gClosed, 1);
    EXPECT_EQ(gLiveEffects, 1);

    AEffect* a = effect->getAeffect();
    EXPECT_EQ(a->dispatcher(a, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(gClosed, 2) << "close runs before the object goes";
    EXPECT_EQ(gLiveEffects, 0);
}

TEST_F(EffectBase, DestructorDeletesTheEditor)
{
    int destroyed = 0;
    {
        TestEffect effect;
        effect.setEditor(new RecordingEditor(&effect, &destroyed));
    }
    EXPECT_EQ(destroyed, 1);
}

TEST_F(EffectBase, EntriesWithoutAnObjectAnswerSafely)
{
    AEffect empty{};
    EXPECT_EQ(dispatchEffectClass(&empty, effIdentify, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(dispatchEffectClass(nullptr, effClose, 0, 0, nullptr, 0), 0);
    EXPECT_EQ(getParameterClass(&empty, 0), 0.0f);
    processClass(&empty, nullptr, nullptr, 16);
    processClassReplacing(nullptr, nullptr, nullptr, 16);
    setParameterClass(nullptr, 0, 1.0f);
}

TEST_F(EffectBase, BaseOpcodes)
{
    TestEffect effect;
    EXPECT_EQ(dispatch(effect, effIdentify), 0x4E764566);
    EXPECT_EQ(dispatch(effect, effSetProgram, 0, 0), 0);
    EXPECT_EQ(effect.getProgram(), 0) << "no programs: a value not below 0 changes nothing";
    dispatch(effect, effSetProgram, 0, 3);
    EXPECT_EQ(dispatch(effect, effGetProgram), 0);

    TestEffect withPrograms(FakeHost::callback, 4);
    dispatch(withPrograms, effSetProgram, 0, 3);
    EXPECT_EQ(dispatch(withPrograms, effGetProgram), 3);
    dispatch(withPrograms, effSetProgram, 0, 4);
    EXPECT_EQ(withPrograms.getProgram(), 3);

    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
    dispatch(effect, effSetBlockSize, 0, 256);
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 48000.0f);
    EXPECT_EQ(effect.getBlockSize(), 256);
    EXPECT_EQ(dispatch(effect, effSetBlockSizeAndSampleRate, 0, 128, nullptr, 22050.0f), 1);
    EXPECT_EQ(effect.getBlockSize(), 128);
    EXPECT_FLOAT_EQ(effect.getSampleRate(), 22050.0f);

    char text[64];
    for (VstInt32 op : {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        std::strcpy(text, "stale");
        EXPECT_EQ(dispatch(effect, op, 0, 0, text), 0);
        EXPECT_STREQ(text, "") << op;
    }
    EXPECT_EQ(dispatch(effect, effGetVu), 0);
    void* chunk = &effect;
    EXPECT_EQ(dispatch(effect, effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(dispatch(effect, effSetChunk, 0, 10, text), 0);
    EXPECT_EQ(dispatch(effect, effMainsChanged, 0, 1), 0);
    EXPECT_EQ(dispatch(effect, effMainsChanged, 0, 0), 0);
    for (VstInt32 unknown : {16, 17, 18, 20, 21, 77, 1000, -1})
        EXPECT_EQ(dispatch(effect, unknown, 1, 1, text, 1.0f), 0) << unknown;
}

TEST_F(EffectBase, EditorOpcodesWithAndWithoutEditor)
{
    TestEffect effect;
    ERect* rect = reinterpret_cast<ERect*>(&effect);
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &effect), 0);
    EXPECT_EQ(dispatch(effect, effEditClose), 0);
    EXPECT_EQ(dispatch(effect, effEditIdle), 0);
    EXPECT_EQ(dispatch(effect, effEditKeyDown, 'a', 3, nullptr, 2.0f), 0);
    EXPECT_EQ(dispatch(effect, effSetEditKnobMode, 0, 2), 0);

    int destroyed = 0;
    auto* editor = new RecordingEditor(&effect, &destroyed);
    effect.setEditor(editor);
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(rect, nullptr) << "the plain editor has no size";
    int window = 0;
    EXPECT_EQ(dispatch(effect, effEditOpen, 0, 0, &window), 0);
    EXPECT_EQ(editor->getSystemWindow(), &window);
    EXPECT_EQ(dispatch(effect, effEditKeyDown, 'a', 3, nullptr, 2.0f), 1);
    EXPECT_EQ(editor->lastKey.character, 'a');
    EXPECT_EQ(editor->lastKey.virt, 3);
    EXPECT_EQ(editor->lastKey.modifier, 2);
    EXPECT_EQ(dispatch(effect, effEditKeyUp, 'a'), -1);
    EXPECT_EQ(dispatch(effect, effSetEditKnobMode, 0, 2), 12);
}

// Every operation that the subclass does not override answers its neutral
// default, through the dispatcher where it has an opcode.
TEST_F(EffectBase, ExtensionDefaultsThroughTheDispatcher)
{
    TestEffect effect;
    char text[64] = "x";
    struct Case {
        VstInt32 opcode;
        VstInt32 index;
        VstIntPtr value;
        VstIntPtr expected;
    };
    const Case cases[] = {
        {effProcessEvents, 0, 0, 0},       {effCanBeAutomated, 0, 0, 1},      {effString2Parameter, 0, 0, 0},
        {effGetNumProgramCategories, 0, 0, 1}, {effGetProgramNameIndexed, 0, 0, 0}, {effCopyProgram, 0, 0, 0},
        {effConnectInput, 0, 1, 1},        {effConnectOutput, 1, 0, 1},       {effGetInputProperties, 0, 0, 0},
        {effGetOutputProperties, 0, 0, 0}, {effGetPlugCategory, 0, 0, 0},     {effGetCurrentPosition, 0, 0, 0},
        {effGetDestinationBuffer, 0, 0, 0}, {effOfflineNotify, 0, 0, 0},      {effOfflinePrepare, 0, 0, 0},
        {effOfflineRun, 0, 0, 0},          {effProcessVarIo, 0, 0, 0},        {effSetSpeakerArrangement, 0, 0, 0},
        {effSetBypass, 0, 1, 0},           {effGetEffectName, 0, 0, 0},       {effGetErrorText, 0, 0, 0},
        {effGetVendorString, 0, 0, 0},     {effGetProductString, 0, 0, 0},    {effGetVendorVersion, 0, 0, 0},
        {effVendorSpecific, 0, 0, 0},      {effCanDo, 0, 0, 0},               {effGetTailSize, 0, 0, 0},
        {effIdle, 0, 0, 0},                {effGetIcon, 0, 0, 0},             {effSetViewPosition, 0, 0, 0},
        {effGetParameterProperties, 0, 0, 0}, {effKeysRequired, 0, 0, 1},     {effGetVstVersion, 0, 0, 2300},
        {effGetMidiProgramName, 0, 0, 0},  {effGetCurrentMidiProgram, 0, 0, -1}, {effGetMidiProgramCategory, 0, 0, 0},
        {effHasMidiProgramsChanged, 0, 0, 0}, {effGetMidiKeyName, 0, 0, 0},   {effBeginSetProgram, 0, 0, 0},
        {effEndSetProgram, 0, 0, 0},       {effShellGetNextPlugin, 0, 0, 0},  {effStartProcess, 0, 0, 0},
        {effStopProcess, 0, 0, 0},         {effSetTotalSampleToProcess, 0, 4321, 4321}, {effSetPanLaw, 0, 0, 0},
        {effBeginLoadBank, 0, 0, 0},       {effBeginLoadProgram, 0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dispatch(effect, c.opcode, c.index, c.value, text), c.expected) << "opcode " << c.opcode;

    VstSpeakerArrangement* in = reinterpret_cast<VstSpeakerArrangement*>(&effect);
    VstSpeakerArrangement* out = in;
    EXPECT_EQ(dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
    EXPECT_TRUE(FakeHost::get().calls.empty()) << "defaults never ask the host";
}

TEST_F(EffectBase, KeysRequiredIsAnsweredInverted)
{
    KeyedEffect keyed;
    TestEffect plain;
    EXPECT_EQ(dispatch(keyed, effKeysRequired), 0);
    EXPECT_EQ(dispatch(plain, effKeysRequired), 1);
}

TEST_F(EffectBase, DefaultsOfOperationsWithoutOpcode)
{
    TestEffect effect;
    EXPECT_EQ(effect.getParameter(3), 0.0f);
    EXPECT_EQ(effect.getVu(), 0.0f);
    EXPECT_EQ(effect.getChannelParameter(0, 0), 0.0f);
    EXPECT_EQ(effect.offlineGetNumPasses(), 0);
    EXPECT_EQ(effect.offlineGetNumMetaPasses(), 0);
    EXPECT_EQ(effect.getNextShellPlugin(nullptr), 0);
    EXPECT_EQ(effect.getIcon(), nullptr);
    effect.setParameter(0, 1.0f);
    effect.processReplacing(nullptr, nullptr, 0);
    effect.open();
    effect.suspend();
    effect.resume();
    effect.inputConnected(0, true);
    effect.outputConnected(0, true);
}

TEST_F(EffectBase, FlagSettersSetAndClearTheirBits)
{
    TestEffect effect;
    AEffect* a = effect.getAeffect();
    effect.hasVu();
    effect.hasClip();
    effect.canMono();
    effect.canProcessReplacing();
    effect.programsAreChunks();
    EXPECT_EQ(dispatch(effect, effGetPlugCategory), kPlugCategUnknown);
    effect.isSynth();
    effect.noTail();
    effect.wantAsyncOperation();
    effect.hasExternalBuffer();
    EXPECT_EQ(a->flags, 4 | 2 | 8 | 16 | 32 | 256 | 512 | 1024 | 2048);
    EXPECT_EQ(dispatch(effect, effGetPlugCategory), kPlugCategSynth);
    effect.hasClip(false);
    effect.isSynth(false);
    EXPECT_EQ(a->flags, 4 | 8 | 16 | 32 | 512 | 1024 | 2048);
    EXPECT_EQ(dispatch(effect, effGetPlugCategory), kPlugCategUnknown);
}
