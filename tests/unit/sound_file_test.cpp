// Sound files as the game takes them: only regular files, read within a limit,
// WAVs only, and no sound longer than the cap, whatever their headers claim.
#include "host/sdl/sound_decode.h"
#include "process.h"
#include "sound/wav_format.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A PCM WAV of `frames` frames of a quiet square wave. The header claims
// `rate` and, unless given, the data size the frames really take.
Bytes wav(uint32_t rate, uint16_t channels, uint16_t bits, uint32_t frames,
          int64_t claimedDataBytes = -1)
{
    Bytes samples(size_t(frames) * channels * (bits / 8u));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = (i / 40) % 2 ? 0x48 : 0x38;
    return wavFile(rate, channels, bits, samples, claimedDataBytes);
}

// SDL's verdict, which the browser's own WAV reader must share on every case.
bool usable(const Bytes& bytes)
{
    const bool sdl      = soundBytesUsable(bytes.data(), bytes.size());
    WavSamples wav      = {};
    const bool portable = parseWav(bytes.data(), bytes.size(), &wav) &&
                          wav.frames <= maxSoundSeconds * size_t(wav.rate);
    EXPECT_EQ(portable, sdl) << "the portable WAV reader disagrees with SDL";
    return sdl;
}

TEST(SoundFile, LengthIsCappedAtItsOwnRate)
{
    EXPECT_TRUE(usable(wav(44100, 1, 16, 4410)));
    EXPECT_TRUE(usable(wav(8000, 1, 8, 8000 * maxSoundSeconds))) << "exactly the cap";
    EXPECT_FALSE(usable(wav(8000, 1, 8, 8000 * maxSoundSeconds + 1))) << "one frame more";
    EXPECT_TRUE(usable(wav(8000, 2, 16, 8000 * maxSoundSeconds))) << "frames, not bytes";
    EXPECT_FALSE(usable(wav(1, 1, 8, 13000))) << "13 KB at 1 Hz: 13000 s once converted";
    EXPECT_FALSE(usable(wav(1, 1, 8, maxSoundSeconds + 1)));
    EXPECT_TRUE(usable(wav(1, 1, 8, maxSoundSeconds))) << "ten frames at 1 Hz are ten seconds";
    EXPECT_FALSE(usable(wav(44100, 1, 16, 0))) << "no sound at all";
}

TEST(SoundFile, OnlyWavsThatSdlDecodes)
{
    Bytes good = wav(22050, 1, 16, 2205);
    ASSERT_TRUE(usable(good));
    // A data size claimed beyond the bytes: a damaged file.
    EXPECT_FALSE(usable(wav(22050, 1, 16, 2205, 0xFFFFFF00u)));
    EXPECT_FALSE(usable(wav(22050, 1, 16, 2205, 2 * 2205 + 2)));
    EXPECT_TRUE(usable(wav(22050, 1, 16, 2205, 2 * 2205 - 2)))
        << "data behind the chunk is ignored";

    for (const char* other : {"FORM", "OggS", "fLaC", "RIFX"}) {
        Bytes renamed = good;
        std::copy(other, other + 4, renamed.begin());
        EXPECT_FALSE(usable(renamed)) << other << " goes to no decoder but the WAV one";
    }
    Bytes notWave = good;
    notWave[8]    = 'A';
    EXPECT_FALSE(usable(notWave));
    Bytes noFormat = good;
    noFormat[20]   = 0x55; // format tag 0x0055: MP3 inside a WAV
    EXPECT_FALSE(usable(noFormat));
    EXPECT_FALSE(usable(Bytes(good.begin(), good.begin() + 30))) << "cut inside the header";

    // Chunks before the samples: an odd-sized one is padded to an even
    // offset; one that claims more than the file holds makes it damaged.
    auto withChunkFirst = [&good](uint32_t claimed, uint32_t held) {
        Bytes out(good.begin(), good.begin() + 12);
        out.insert(out.end(), {'L', 'I', 'S', 'T'});
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<uint8_t>(claimed >> (8 * i)));
        out.insert(out.end(), held + held % 2, 'i');
        out.insert(out.end(), good.begin() + 12, good.end());
        return out;
    };
    EXPECT_TRUE(usable(withChunkFirst(6, 6)));
    EXPECT_TRUE(usable(withChunkFirst(5, 5)));
    EXPECT_FALSE(usable(withChunkFirst(0xFFFFFFF0u, 6)));
    // The format must come before the samples; what follows them is not read.
    Bytes formatLast(good.begin(), good.begin() + 12);
    formatLast.insert(formatLast.end(), good.begin() + 36, good.end());
    formatLast.insert(formatLast.end(), good.begin() + 12, good.begin() + 36);
    EXPECT_FALSE(usable(formatLast));
    Bytes tail = good;
    tail.insert(tail.end(), {'L', 'I', 'S', 'T', 0xff, 0xff, 0xff, 0xff});
    EXPECT_TRUE(usable(tail));
    EXPECT_FALSE(soundBytesUsable(nullptr, 100));
    EXPECT_FALSE(soundBytesUsable(good.data(), 0));
}

TEST(SoundFile, PortableReaderScalesEverySampleFormat)
{
    struct Case {
        uint16_t tag, bits;
        Bytes    sample;
        float    value;
    };
    const Case cases[] = {
        {1, 8, {0x80}, 0.0f},
        {1, 8, {0x00}, -1.0f},
        {1, 16, {0x00, 0x80}, -1.0f},
        {1, 16, {0x00, 0x40}, 0.5f},
        {1, 24, {0x00, 0x00, 0xC0}, -0.5f},
        {1, 32, {0x00, 0x00, 0x00, 0x40}, 0.5f},
        {3, 32, {0x00, 0x00, 0x80, 0xBE}, -0.25f},
    };
    for (const Case& c : cases) {
        Bytes bytes = wav(8000, 1, c.bits, 1);
        bytes[20]   = static_cast<unsigned char>(c.tag);
        std::copy(c.sample.begin(), c.sample.end(), bytes.end() - c.sample.size());
        WavSamples w = {};
        ASSERT_TRUE(parseWav(bytes.data(), bytes.size(), &w)) << c.bits << " bits";
        EXPECT_EQ(w.frames, 1u);
        EXPECT_FLOAT_EQ(wavSample(w, 0), c.value) << c.bits << " bits, tag " << c.tag;
    }
}

TEST(SoundFile, ReadsOnlyWholeRegularFilesWithinTheLimit)
{
    TempDir     dir;
    BoundedFile file;
    writeBytes(dir.file("a.wav"), wav(22050, 1, 16, 100));
    EXPECT_TRUE(readSoundFile(dir.file("a.wav").c_str(), file));
    EXPECT_EQ(file.bytes.size(), 244u);

    ASSERT_EQ(truncate(dir.file("a.wav").c_str(), off_t(maxSoundFileBytes)), 0);
    EXPECT_TRUE(readSoundFile(dir.file("a.wav").c_str(), file)) << "at the limit";
    ASSERT_EQ(truncate(dir.file("a.wav").c_str(), off_t(maxSoundFileBytes) + 1), 0);
    EXPECT_FALSE(readSoundFile(dir.file("a.wav").c_str(), file)) << "one byte beyond it";
    EXPECT_TRUE(file.bytes.empty() || file.bytes.size() == maxSoundFileBytes);

    ASSERT_EQ(mkfifo(dir.file("fifo.wav").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.file("zero.wav").c_str()), 0);
    ASSERT_EQ(mkdir(dir.file("dir.wav").c_str(), 0755), 0);
    for (const char* name : {"fifo.wav", "zero.wav", "dir.wav", "missing.wav"})
        EXPECT_FALSE(readSoundFile(dir.file(name).c_str(), file)) << name;
}

// The mixer on SDL's dummy driver, at the game's format.
class SoundDecode : public ::testing::Test {
  protected:
    void SetUp() override
    {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

TEST_F(SoundDecode, ChunksAreConvertedAndNeverLongerThanTheCap)
{
    // 8000 Hz mono 8-bit becomes 44100 Hz stereo 16-bit: about 22 times the bytes.
    const Bytes longest = wav(8000, 1, 8, 8000 * maxSoundSeconds);
    Mix_Chunk*  chunk   = decodeSound(longest.data(), longest.size());
    ASSERT_NE(chunk, nullptr);
    const double seconds = chunk->alen / 4.0 / 44100.0;
    EXPECT_NEAR(seconds, maxSoundSeconds, 0.05);
    Mix_FreeChunk(chunk);

    for (const Bytes& refused : {wav(8000, 1, 8, 8000 * maxSoundSeconds + 1), wav(1, 1, 8, 13000),
                                 Bytes{'R', 'I', 'F', 'F'}})
        EXPECT_EQ(decodeSound(refused.data(), refused.size()), nullptr);
}

TEST_F(SoundDecode, NothingIsDecodedWithoutTheMixer)
{
    Mix_CloseAudio();
    const Bytes good = wav(22050, 1, 16, 2205);
    EXPECT_EQ(decodeSound(good.data(), good.size()), nullptr);
    ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512), 0) << Mix_GetError();
}

// The game's backend in a process of its own, which reports its peak memory.
TEST(SoundFileProbe, BadFilesStaySilentInLittleMemoryAndNeverHang)
{
    TempDir dir;
    writeBytes(dir.file("good.wav"), wav(22050, 1, 16, 22050));
    writeBytes(dir.file("rate1.wav"), wav(1, 1, 8, 13000));
    writeBytes(dir.file("huge_data.wav"), wav(22050, 1, 16, 6000, 0x7FFFFF00));
    writeBytes(dir.file("huge_data_rate1.wav"), wav(1, 2, 16, 3000, 0xFFFFFFF0u));
    // A big file that holds all it claims: 300 MB of silence, most of it a hole.
    writeBytes(dir.file("huge_file.wav"), wav(44100, 2, 16, 100, 300000000));
    ASSERT_EQ(truncate(dir.file("huge_file.wav").c_str(), 300000044), 0);
    ASSERT_EQ(mkfifo(dir.file("fifo.wav").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.file("zero.wav").c_str()), 0);
    ASSERT_EQ(symlink("/dev/urandom", dir.file("urandom.wav").c_str()), 0);
    ASSERT_EQ(mkdir(dir.file("dir.wav").c_str(), 0755), 0);
    const char* names[] = {"good.wav",      "rate1.wav", "huge_data.wav", "huge_data_rate1.wav",
                           "huge_file.wav", "fifo.wav",  "zero.wav",      "urandom.wav",
                           "dir.wav"};

    std::vector<std::string> argv = {SWARM_SOUND_PROBE_PATH};
    for (const char* name : names)
        argv.push_back(dir.file(name));
    const CommandResult r = runCommand(argv, 60);
    ASSERT_EQ(r.status, 0) << "killed after a minute, or failed: " << r.err;
    const std::vector<std::string> lines = splitLines(r.out);
    ASSERT_EQ(lines.size(), std::size(names) + 1) << r.out;
    EXPECT_EQ(lines[0], "loaded");
    for (size_t i = 1; i < std::size(names); ++i)
        EXPECT_EQ(lines[i], "silent") << names[i];
    // The game runs in about 110 MB; these files alone used to take gigabytes.
    const long peakKb = std::stol(lines.back().substr(5));
    EXPECT_GT(peakKb, 0);
    EXPECT_LT(peakKb, 120 * 1024) << "peak resident size in KB";
}

} // namespace
