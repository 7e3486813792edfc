// The Windows host's software mixer: a sound started on a game channel fades
// out the one it replaces instead of cutting it, other channels play on, and
// WAVs of other rates and widths come out as stereo at the mixer's rate.
#include "host/win32/channel_mix.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

MixSound steady(float level, int frames)
{
    return MixSound(static_cast<std::size_t>(frames) * 2, level);
}

// The left samples of the next `frames` frames, in -1..1.
std::vector<float> mixLeft(ChannelMix* mix, int frames)
{
    std::vector<int16_t> out(static_cast<std::size_t>(frames) * 2);
    mixInto(mix, out.data(), frames);
    std::vector<float> left;
    for (int f = 0; f < frames; ++f)
        left.push_back(out[static_cast<std::size_t>(f) * 2] / 32767.0f);
    return left;
}

TEST(Win32ChannelMix, AReplacedSoundFadesOutWhileOtherChannelsPlayOn)
{
    const MixSound old = steady(0.5f, 10000), next = steady(0.25f, 10000),
                   other = steady(0.125f, 10000);
    ChannelMix mix       = {};
    startMixSound(&mix, &old, 1);
    startMixSound(&mix, &other, 2);
    mixLeft(&mix, 100);
    startMixSound(&mix, &next, 1);
    const std::vector<float> left = mixLeft(&mix, mixFadeFrames + 10);
    struct Case {
        const char* what;
        int         frame;
        float       level;
    };
    const Case cases[] = {
        {"the old sound starts its fade at full volume", 0, 0.5f + 0.25f + 0.125f},
        {"and is half gone halfway", mixFadeFrames / 2, 0.25f + 0.25f + 0.125f},
        {"and gone once the fade has run", mixFadeFrames + 5, 0.25f + 0.125f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(left[static_cast<std::size_t>(c.frame)], c.level, 0.01f) << c.what;
}

TEST(Win32ChannelMix, ReplacementsFasterThanTheFadeKeepTheNewestSoundWhole)
{
    const MixSound a = steady(0.1f, 10000), b = steady(0.2f, 10000), c = steady(0.3f, 10000),
                   d = steady(0.4f, 10000);
    ChannelMix mix   = {};
    for (const MixSound* sound : {&a, &b, &c, &d})
        startMixSound(&mix, sound, 3);
    mixLeft(&mix, mixFadeFrames);
    EXPECT_NEAR(mixLeft(&mix, 1)[0], 0.4f, 0.01f) << "only the newest plays after the fades";
    const MixSound shortSound = steady(0.5f, 3);
    startMixSound(&mix, &shortSound, 4);
    const std::vector<float> left = mixLeft(&mix, mixFadeFrames + 4);
    EXPECT_NEAR(left.back(), 0.4f, 0.01f) << "a sound that ends leaves the mix";
}

TEST(Win32ChannelMix, WavsComeOutAsStereoAtTheMixersRate)
{
    // 16-bit mono at half the rate: each frame doubled in time and to both sides.
    const int16_t mono[] = {0, 16384, -16384};
    WavSamples wav = {mixRate / 2, 1, 16, false, reinterpret_cast<const unsigned char*>(mono), 3};
    const MixSound out = convertWav(wav);
    ASSERT_EQ(out.size(), 5u * 2);
    const float expected[] = {0.0f, 0.25f, 0.5f, 0.0f, -0.5f};
    for (std::size_t f = 0; f < 5; ++f) {
        EXPECT_NEAR(out[f * 2], expected[f], 0.001f) << "frame " << f;
        EXPECT_EQ(out[f * 2], out[f * 2 + 1]) << "frame " << f;
    }
}

} // namespace
