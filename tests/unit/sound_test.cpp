// Tests of the sound layer with the SDL_mixer backend on SDL's dummy audio driver.
#include "sound/sdl/mixer.h"
#include "sound/sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

// Writes a mono 16-bit PCM WAV of a square wave, long enough to still sound
// while a test looks at the channels.
void writeWav(const char* name, int halfPeriod, double seconds)
{
    const uint32_t rate    = 22050;
    const uint32_t samples = static_cast<uint32_t>(rate * seconds);
    const uint32_t bytes   = samples * 2;
    std::ofstream  out(name, std::ios::binary);
    auto           put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.put(static_cast<char>(v >> (8 * i)));
    };
    auto put16 = [&](uint16_t v) {
        out.put(static_cast<char>(v));
        out.put(static_cast<char>(v >> 8));
    };
    out << "RIFF";
    put32(36 + bytes);
    out << "WAVEfmt ";
    put32(16);
    put16(1); // PCM
    put16(1); // mono
    put32(rate);
    put32(rate * 2);
    put16(2);
    put16(16);
    out << "data";
    put32(bytes);
    for (uint32_t i = 0; i < samples; ++i)
        put16(static_cast<uint16_t>((i / halfPeriod) % 2 ? 6000 : -6000));
}

// How often each mixer channel stopped (cut off, halted or ended).
std::atomic<int> channelStops[4];

void countStop(int channel)
{
    if (channel >= 0 && channel < 4)
        ++channelStops[channel];
}

int playingChannels() { return Mix_Playing(-1); }

} // namespace

// Each test runs in a fresh temporary directory holding its WAV files, with
// the SDL_mixer backend installed.
class SoundMixer : public ::testing::Test {
  protected:
    void SetUp() override
    {
        oldDir = std::filesystem::current_path();
        std::string pattern =
            (std::filesystem::temp_directory_path() / "swarm-sound-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        std::filesystem::current_path(dir);
        writeWav("First.wav", 20, 3.0);
        writeWav("Second.wav", 40, 3.0);
        writeWav("Other.wav", 60, 3.0);
        std::ofstream("Garbage.wav") << "RIFF this is no sound";
        for (auto& stops : channelStops)
            stops = 0;
        soundBackend = &mixerSoundBackend;
    }

    void TearDown() override
    {
        Mix_ChannelFinished(nullptr);
        stopSound();
        soundBackend = nullptr;
        std::filesystem::current_path(oldDir);
        if (!dir.empty())
            std::filesystem::remove_all(dir);
    }

    std::filesystem::path oldDir;
    std::string           dir;
};

TEST_F(SoundMixer, NewSoundOnAChannelReplacesTheOldOne)
{
    startSound();
    const Sound first  = loadSound("First.wav", 2);
    const Sound second = loadSound("Second.wav", 2);
    const Sound other  = loadSound("Other.wav", 1);
    ASSERT_NE(first.id, 0);
    ASSERT_NE(second.id, 0);
    ASSERT_NE(other.id, 0);
    EXPECT_NE(first.id, second.id);
    Mix_ChannelFinished(countStop);

    playSound(first, 2);
    ASSERT_TRUE(Mix_Playing(1));
    Mix_Chunk* firstChunk = Mix_GetChunk(1);
    ASSERT_NE(firstChunk, nullptr);

    // Different channels sound together.
    playSound(other, 1);
    EXPECT_TRUE(Mix_Playing(0));
    EXPECT_TRUE(Mix_Playing(1));
    Mix_Chunk* otherChunk = Mix_GetChunk(0);
    EXPECT_NE(otherChunk, firstChunk);
    EXPECT_EQ(playingChannels(), 2);

    // The second sound on channel 2 cuts the first off; channel 1 plays on.
    playSound(second, 2);
    EXPECT_TRUE(Mix_Playing(1));
    EXPECT_NE(Mix_GetChunk(1), firstChunk);
    EXPECT_NE(Mix_GetChunk(1), otherChunk);
    EXPECT_EQ(channelStops[1], 1);
    EXPECT_EQ(channelStops[0], 0);
    EXPECT_EQ(Mix_GetChunk(0), otherChunk);
    EXPECT_EQ(playingChannels(), 2) << "no layering";

    // The same sound again restarts its channel rather than layering.
    Mix_Chunk* secondChunk = Mix_GetChunk(1);
    playSound(second, 2);
    EXPECT_EQ(channelStops[1], 2);
    EXPECT_EQ(Mix_GetChunk(1), secondChunk);
    EXPECT_EQ(playingChannels(), 2);
    Mix_ChannelFinished(nullptr);
}

TEST_F(SoundMixer, MissingOrBadFilesAndChannelsAreSilent)
{
    startSound();
    const Sound missing = loadSound("Missing.wav", 2);
    EXPECT_EQ(missing.id, 0);
    EXPECT_STREQ(missing.fileName, "Missing.wav");
    EXPECT_EQ(missing.channel, 2);
    EXPECT_EQ(loadSound("Garbage.wav", 3).id, 0);
    EXPECT_EQ(loadSound("First.wav", 0).id, 0) << "no such channel";
    EXPECT_EQ(loadSound("First.wav", 5).id, 0) << "no such channel";
    EXPECT_EQ(loadSound(nullptr, 1).id, 0);

    playSound(missing, 2);
    EXPECT_EQ(playingChannels(), 0);

    const Sound first = loadSound("First.wav", 2);
    ASSERT_NE(first.id, 0);
    playSound(first, 0);
    playSound(first, 5);
    playSound(first, -1);
    EXPECT_EQ(playingChannels(), 0);
    playSound(first, 2);
    EXPECT_TRUE(Mix_Playing(1)) << "the good sound still plays";
}

TEST_F(SoundMixer, NoAudioDeviceLeavesEverythingSilent)
{
    const char*       driver      = SDL_getenv("SDL_AUDIODRIVER");
    const std::string savedDriver = driver ? driver : "";
    SDL_setenv("SDL_AUDIODRIVER", "no-such-audio-driver", 1);
    startSound();
    if (savedDriver.empty())
        unsetenv("SDL_AUDIODRIVER");
    else
        SDL_setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);

    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    const Sound first = loadSound("First.wav", 2);
    EXPECT_EQ(first.id, 0);
    playSound(first, 2); // silent, and harmless
    playSound(playerShotSound, 2);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    stopSound();

    // With the driver back, sound starts.
    startSound();
    EXPECT_NE(loadSound("First.wav", 2).id, 0);
}

TEST_F(SoundMixer, StopsCleanlyAndStartsAgain)
{
    const uint32_t audioBefore = SDL_WasInit(SDL_INIT_AUDIO);
    startSound();
    startSound(); // a second start while running changes nothing
    Sound first = loadSound("First.wav", 2);
    ASSERT_NE(first.id, 0);
    playSound(first, 2);
    EXPECT_TRUE(Mix_Playing(1));
    stopSound();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), audioBefore) << "the audio device is closed";
    stopSound();
    playSound(first, 2); // a handle from before the stop: nothing happens

    startSound();
    first = loadSound("First.wav", 2);
    ASSERT_NE(first.id, 0);
    playSound(first, 2);
    EXPECT_TRUE(Mix_Playing(1));

    // The backend that was opened is the one closed, even if it was changed since.
    soundBackend = nullptr;
    stopSound();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), audioBefore);
}
