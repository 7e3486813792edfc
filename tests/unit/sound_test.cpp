// Tests of the sound layer with the SDL_mixer backend on SDL's dummy audio driver.
#include "files.h"
#include "host/sdl/mixer.h"
#include "sound/sound.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// Writes a mono 16-bit PCM WAV of a square wave, long enough to still sound
// while a test looks at the channels.
void writeWav(const char* name, int halfPeriod, double seconds)
{
    std::vector<int16_t> samples(static_cast<size_t>(22050 * seconds));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (i / size_t(halfPeriod)) % 2 ? 6000 : -6000;
    writeBytes(name, wavFile(22050, 1, 16, pcm16(samples)));
}

int playingChannels() { return Mix_Playing(-1); }

// The chunks that game channel c plays at full volume, once replaced sounds have faded.
std::vector<Mix_Chunk*> chunksOf(int channel)
{
    std::vector<Mix_Chunk*> found;
    for (int m = (channel - 1) * 3; m < channel * 3; ++m)
        if (Mix_Playing(m))
            found.push_back(Mix_GetChunk(m));
    return found;
}

// Polls `done` every millisecond, for at most 10 s: the mixer's thread runs
// late on a busy machine. False when it never came true.
template <typename Done> bool waitUntil(Done done)
{
    for (Uint32 start = SDL_GetTicks(); !done();) {
        if (SDL_GetTicks() - start > 10000)
            return false;
        SDL_Delay(1);
    }
    return true;
}

// Waits until every replaced sound has faded and stopped, leaving `playing`
// mixer channels.
bool settleTo(int playing)
{
    return waitUntil([playing] { return Mix_Playing(-1) == playing; });
}

// Writes a mono 16-bit WAV of a sine at the device rate.
void writeSine(const char* name, double hz, double amplitude, double seconds)
{
    std::vector<int16_t> samples(static_cast<size_t>(44100 * seconds));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(
            std::lround(amplitude * 32767 * std::sin(2 * M_PI * hz * i / 44100)));
    writeBytes(name, wavFile(44100, 1, 16, pcm16(samples)));
}

// The mixer's output, 16-bit frames of `width` samples, filled on the audio thread.
struct Recording {
    std::vector<int16_t> samples = std::vector<int16_t>(44100 * 2 * 4);
    std::atomic<size_t>  used{0};
    int                  width = 2;
    size_t               frames() const { return used / static_cast<size_t>(width); }
    double               left(size_t frame) const
    {
        return samples[frame * static_cast<size_t>(width)] / 32768.0;
    }
};

void record(void* udata, Uint8* stream, int bytes)
{
    Recording&   r = *static_cast<Recording*>(udata);
    const size_t n = static_cast<size_t>(bytes) / sizeof(int16_t), at = r.used;
    if (at + n > r.samples.size())
        return;
    std::memcpy(&r.samples[at], stream, n * sizeof(int16_t));
    r.used = at + n;
}

} // namespace

// Each test runs in a fresh temporary directory holding its WAV files, with
// the SDL_mixer backend installed.
class SoundMixer : public ::testing::Test {
  protected:
    void SetUp() override
    {
        inDir = std::make_unique<InDirectory>(tempDir.path());
        writeWav("First.wav", 20, 3.0);
        writeWav("Second.wav", 40, 3.0);
        writeWav("Other.wav", 60, 3.0);
        std::ofstream("Garbage.wav") << "RIFF this is no sound";
        soundBackend = &mixerSoundBackend;
    }

    void TearDown() override
    {
        Mix_ChannelFinished(nullptr);
        stopSound();
        soundBackend = nullptr;
        inDir.reset();
    }

    TempDir                      tempDir;
    std::unique_ptr<InDirectory> inDir;
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

    playSound(first, 2);
    ASSERT_EQ(chunksOf(2).size(), 1u);
    Mix_Chunk* firstChunk = chunksOf(2)[0];

    // Different channels sound together.
    playSound(other, 1);
    ASSERT_EQ(chunksOf(1).size(), 1u);
    Mix_Chunk* otherChunk = chunksOf(1)[0];
    EXPECT_NE(otherChunk, firstChunk);
    EXPECT_EQ(chunksOf(2).size(), 1u);

    // The second sound on channel 2 replaces the first, which fades out and stops;
    // channel 1 plays on.
    playSound(second, 2);
    EXPECT_TRUE(settleTo(2)) << "the replaced sound still plays";
    ASSERT_EQ(chunksOf(2).size(), 1u) << "no layering";
    Mix_Chunk* secondChunk = chunksOf(2)[0];
    EXPECT_NE(secondChunk, firstChunk);
    EXPECT_NE(secondChunk, otherChunk);
    EXPECT_EQ(chunksOf(1), std::vector<Mix_Chunk*>{otherChunk});
    EXPECT_EQ(playingChannels(), 2);

    // The same sound again restarts its channel rather than layering, also when
    // started several times within one fade.
    playSound(second, 2);
    playSound(second, 2);
    playSound(second, 2);
    EXPECT_TRUE(settleTo(2)) << "the restarted sounds layer";
    EXPECT_EQ(chunksOf(2), std::vector<Mix_Chunk*>{secondChunk});
}

TEST_F(SoundMixer, ReplacedSoundFadesOutInsteadOfStoppingDead)
{
    writeSine("Tone.wav", 441.0, 0.5, 3.0);
    writeSine("Quiet.wav", 441.0, 0.0, 3.0);
    startSound();
    const Sound tone  = loadSound("Tone.wav", 3);
    const Sound quiet = loadSound("Quiet.wav", 3);
    ASSERT_NE(tone.id, 0);
    ASSERT_NE(quiet.id, 0);
    int    rate = 0, width = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&rate, &format, &width), 0);
    ASSERT_EQ(format, AUDIO_S16SYS);

    // Five times: the tone, then a silent sound in its place; the mixed output is kept.
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        playSound(tone, 3);
        SDL_Delay(60 + 7 * round); // a different point of the waveform each time
        Recording out;
        out.width = width;
        Mix_SetPostMix(record, &out);
        // 30 ms of the tone, then 80 ms from the replacement on, as mixed.
        ASSERT_TRUE(waitUntil([&] { return out.frames() >= size_t(rate) * 30 / 1000; }));
        playSound(quiet, 3);
        const size_t replacedAt = out.frames();
        ASSERT_TRUE(
            waitUntil([&] { return out.frames() >= replacedAt + size_t(rate) * 80 / 1000; }));
        Mix_SetPostMix(nullptr, nullptr);
        ASSERT_GT(out.frames(), static_cast<size_t>(rate / 20)) << "the mixer did not run";

        // A 441 Hz sine of amplitude 0.5 moves at most 0.035 from one sample to the next:
        // a cut would jump by up to 0.5.
        double step = 0, lastLoud = 0, lastSound = 0;
        for (size_t i = 0; i < out.frames(); ++i) {
            if (i > 0)
                step = std::max(step, std::fabs(out.left(i) - out.left(i - 1)));
            if (std::fabs(out.left(i)) >= 0.45)
                lastLoud = static_cast<double>(i);
            if (std::fabs(out.left(i)) > 0.003)
                lastSound = static_cast<double>(i);
        }
        EXPECT_LT(step, 0.04);
        ASSERT_GT(lastLoud, 0) << "the tone was not recorded";
        ASSERT_LT(lastSound, static_cast<double>(out.frames() - rate / 100)) << "no silence";
        // From the last full peak to silence takes the fade's 3 to 5 ms (a cut: under 1 ms).
        const double fadeMs = (lastSound - lastLoud) * 1000.0 / rate;
        EXPECT_GE(fadeMs, 3.0);
        EXPECT_LE(fadeMs, 5.5);
    }
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
    EXPECT_FALSE(chunksOf(2).empty()) << "the good sound still plays";
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
    EXPECT_FALSE(chunksOf(2).empty());
    stopSound();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), audioBefore) << "the audio device is closed";
    stopSound();
    playSound(first, 2); // a handle from before the stop: nothing happens

    startSound();
    first = loadSound("First.wav", 2);
    ASSERT_NE(first.id, 0);
    playSound(first, 2);
    EXPECT_FALSE(chunksOf(2).empty());

    // The backend that was opened is the one closed, even if it was changed since.
    soundBackend = nullptr;
    stopSound();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), audioBefore);
}
