#include "vst2/audio_effect_x.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct Effect : AudioEffectX {
    Effect() : AudioEffectX(nullptr, 0, 0) {}
    void process(float**, float**, VstInt32) override {}
};

void fillSpeaker(VstSpeakerProperties* s, int i)
{
    s->azimuth = 0.5f * i;
    s->elevation = 1.0f + i;
    s->radius = 2.0f;
    s->reserved = 3.0f;
    std::snprintf(s->name, sizeof s->name, "Speaker %d", i);
    s->type = 10 + i;
    std::memset(s->future, 0x40 + i, sizeof s->future);
}

} // namespace

TEST(SpeakerArrangement, AllocateZeroFillsAndReplacesTheOldBlock)
{
    Effect effect;
    VstSpeakerArrangement* arrangement = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 2));
    EXPECT_EQ(arrangement->numChannels, 2);
    EXPECT_EQ(arrangement->type, 0);
    EXPECT_EQ(speakerAt(arrangement, 1)->name[0], 0);
    EXPECT_EQ(speakerAt(arrangement, 1)->type, 0);
    ASSERT_TRUE(effect.allocateArrangement(&arrangement, 6)) << "the old block is freed first (sanitizer checks)";
    EXPECT_EQ(arrangement->numChannels, 6);
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_EQ(arrangement, nullptr);
    EXPECT_TRUE(effect.deallocateArrangement(&arrangement));
    EXPECT_FALSE(effect.allocateArrangement(&arrangement, -1));
}

TEST(SpeakerArrangement, MatchCopiesTypeAndEverySpeaker)
{
    Effect effect;
    VstSpeakerArrangement* source = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 3));
    source->type = 7;
    for (int i = 0; i < 3; ++i)
        fillSpeaker(speakerAt(source, i), i);

    VstSpeakerArrangement* copy = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&copy, 1));
    ASSERT_TRUE(effect.matchArrangement(&copy, source));
    EXPECT_EQ(copy->type, 7);
    EXPECT_EQ(copy->numChannels, 3);
    EXPECT_EQ(std::memcmp(speakerAt(copy, 0), speakerAt(source, 0), speakerArrangementBytes(3) - 8), 0);

    EXPECT_FALSE(effect.matchArrangement(&copy, nullptr));
    EXPECT_EQ(copy, nullptr) << "a failed match leaves nothing allocated";
    effect.deallocateArrangement(&source);
}

TEST(SpeakerArrangement, CopySpeakerCutsTheNameAndRefusesNull)
{
    Effect effect;
    VstSpeakerProperties from{}, to{};
    fillSpeaker(&from, 2);
    std::memset(from.name, 'n', sizeof from.name); // no terminator
    std::memset(to.name, 'x', sizeof to.name);
    ASSERT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_EQ(std::strlen(to.name), 63u);
    EXPECT_EQ(to.type, 12);
    EXPECT_FLOAT_EQ(to.elevation, 3.0f);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);
    EXPECT_FALSE(effect.copySpeaker(nullptr, &from));
    EXPECT_FALSE(effect.copySpeaker(&to, nullptr));
}
