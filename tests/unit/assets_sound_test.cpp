// Checks the generated sound files and icons: format, length, level, spectrum and no clicks.
#include "files.h"
#include "host/sdl/sound_decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const double sampleRate = 44100;

struct Wav {
    bool                valid = false;
    std::vector<double> samples; // full scale is 1
};

// Parses a canonical RIFF WAV and requires 16-bit mono PCM at 44,100 Hz.
Wav parseWav(const Bytes& b)
{
    Wav w;
    if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 12) != "WAVE" || le32(b, 4) != b.size() - 8)
        return w;
    bool format = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        std::string id(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
        size_t      size = le32(b, at + 4);
        if (at + 8 + size > b.size())
            return w;
        if (id == "fmt ") {
            format = size >= 16 && le16(b, at + 8) == 1 && le16(b, at + 10) == 1 &&
                     le32(b, at + 12) == 44100 && le32(b, at + 16) == 88200 &&
                     le16(b, at + 20) == 2 && le16(b, at + 22) == 16;
        } else if (id == "data" && format) {
            for (size_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<int16_t>(le16(b, at + 8 + i)) / 32768.0);
            w.valid = size % 2 == 0;
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

Wav loadWav(const char* file) { return parseWav(readBytes(dataPath(file))); }

double dB(double level) { return 20 * std::log10(std::max(level, 1e-9)); }

double rms(const std::vector<double>& s, size_t from, size_t count)
{
    double power = 0;
    for (size_t i = from; i < from + count && i < s.size(); ++i)
        power += s[i] * s[i];
    return std::sqrt(power / count);
}

// The loudest 50 ms of a sound (RMS, in dB of full scale), in 5 ms steps.
double loudestDb(const std::vector<double>& s)
{
    const size_t window = 2205;
    double       top    = 0;
    for (size_t at = 0; at + window <= s.size(); at += 220)
        top = std::max(top, rms(s, at, window));
    return dB(top);
}

double peakDb(const std::vector<double>& s)
{
    double top = 0;
    for (double v : s)
        top = std::max(top, std::fabs(v));
    return dB(top);
}

// Share of the energy of samples [from, from + 4096) that lies between lo and hi Hz
// (Hann window, radix-2 transform).
double bandShare(const std::vector<double>& s, size_t from, double lo, double hi)
{
    const size_t                      n = 4096;
    std::vector<std::complex<double>> x(n);
    for (size_t i = 0; i < n; ++i) {
        double hann = 0.5 - 0.5 * std::cos(2 * M_PI * i / n);
        x[i]        = from + i < s.size() ? s[from + i] * hann : 0.0;
    }
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(x[i], x[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        std::complex<double> step = std::polar(1.0, -2 * M_PI / len);
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w = 1;
            for (size_t k = 0; k < len / 2; ++k, w *= step) {
                std::complex<double> a = x[i + k], b = x[i + k + len / 2] * w;
                x[i + k]           = a + b;
                x[i + k + len / 2] = a - b;
            }
        }
    }
    double in = 0, all = 0;
    for (size_t k = 1; k < n / 2; ++k) {
        double e  = std::norm(x[k]);
        double hz = k * sampleRate / n;
        all += e;
        if (hz >= lo && hz < hi)
            in += e;
    }
    return all > 0 ? in / all : 0;
}

// The largest fall of the envelope (the highest |sample| of the last `window` samples)
// within one `window`, as a share of its highest value: a sound or note that stops
// without a release falls all at once.
double largestFall(const std::vector<double>& s, size_t window)
{
    std::vector<double> envelope(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        double top = 0;
        for (size_t k = i >= window ? i - window : 0; k <= i; ++k)
            top = std::max(top, std::fabs(s[k]));
        envelope[i] = top;
    }
    double top = *std::max_element(envelope.begin(), envelope.end()), fall = 0;
    for (size_t i = 0; i + window < envelope.size(); ++i)
        fall = std::max(fall, envelope[i] - envelope[i + window]);
    return top > 0 ? fall / top : 0;
}

struct SoundSpec {
    const char* file;
    double      minSeconds, maxSeconds;
    double      minLoudness, maxLoudness; // loudest 50 ms, dB of full scale
};

const SoundSpec expectedSounds[] = {{"PlayerShot.wav", 0.1, 0.25, -15, -12},
                                    {"EnemyShot.wav", 0.10, 0.12, -21.5, -18.5},
                                    {"EExplode.wav", 0.3, 0.6, -10, -8},
                                    {"XtraLife.wav", 0.6, 1.0, -12, -9},
                                    {"PExplode.wav", 1.5, 2.0, -10, -8}};

TEST(AssetsSounds, EveryWavIsValidWithItsLengthLevelAndCleanEnds)
{
    for (const SoundSpec& s : expectedSounds) {
        SCOPED_TRACE(s.file);
        const Bytes file = readBytes(dataPath(s.file));
        EXPECT_TRUE(soundBytesUsable(file.data(), file.size())) << "the game would refuse it";
        EXPECT_LE(file.size(), maxSoundFileBytes);
        Wav w = parseWav(file);
        ASSERT_TRUE(w.valid) << "not 16-bit mono PCM at 44,100 Hz";
        ASSERT_GT(w.samples.size(), 4410u);
        double seconds = w.samples.size() / sampleRate;
        EXPECT_GE(seconds, s.minSeconds);
        EXPECT_LE(seconds, s.maxSeconds);
        double loudness = loudestDb(w.samples);
        EXPECT_GE(loudness, s.minLoudness);
        EXPECT_LE(loudness, s.maxLoudness);
        EXPECT_LE(peakDb(w.samples), -1.0) << "peak above -1 dBFS";
        // Fades at both ends: the first and last samples sit at silence.
        EXPECT_LT(std::fabs(w.samples.front()), 0.006);
        EXPECT_LT(std::fabs(w.samples.back()), 0.006);
        double jump = 0;
        for (size_t i = 0; i < 20; ++i)
            jump = std::max(jump, std::fabs(w.samples[i + 1] - w.samples[i]));
        EXPECT_LT(jump, 0.12) << "the start clicks";
    }
}

TEST(AssetsSounds, TheMixIsBalanced)
{
    auto   loud   = [](const char* f) { return loudestDb(loadWav(f).samples); };
    double player = loud("PlayerShot.wav"), enemy = loud("EnemyShot.wav");
    // The enemy fires most often: it sits well under the player's shot.
    EXPECT_GE(player - enemy, 6.0);
    EXPECT_LE(player - enemy, 8.0);
    // The extra ship is heard over the shots, the explosions are the loudest.
    EXPECT_GE(loud("XtraLife.wav"), player + 2.0);
    EXPECT_GE(loud("EExplode.wav"), player + 3.0);
    EXPECT_GE(loud("PExplode.wav"), player + 3.0);
}

TEST(AssetsSounds, ShipExplosionCracksThenRumblesWhereSpeakersPlayIt)
{
    Wav w = loadWav("PExplode.wav");
    ASSERT_TRUE(w.valid);
    EXPECT_GE(peakDb(w.samples), -3.0);
    EXPECT_LE(peakDb(w.samples), -1.0);
    // The first 100 ms: a broadband crack with real energy from 2 to 8 kHz.
    const double crack = bandShare(w.samples, 0, 2000, 8000);
    EXPECT_GT(crack, 0.12) << "crack share 2-8 kHz " << crack;
    // The body after it lies between 100 and 800 Hz, little of it sub-bass.
    for (size_t from : {5000u, 15000u, 30000u, 50000u}) {
        SCOPED_TRACE(from);
        EXPECT_GT(bandShare(w.samples, from, 100, 800), 0.6);
        EXPECT_LT(bandShare(w.samples, from, 0, 80), 0.15);
    }
    // It keeps sounding: half a second in, still within 12 dB of its loudest.
    EXPECT_GT(dB(rms(w.samples, 22050, 2205)), loudestDb(w.samples) - 12);
}

TEST(AssetsSounds, NoSoundStopsWithoutARelease)
{
    // Tones, measured over 5 ms; the noisy explosions over 10 ms.
    const struct {
        const char* file;
        size_t      window;
        double      limit;
    } cases[] = {{"PlayerShot.wav", 220, 0.3},
                 {"EnemyShot.wav", 220, 0.3},
                 {"XtraLife.wav", 220, 0.3},
                 {"EExplode.wav", 441, 0.45},
                 {"PExplode.wav", 441, 0.45}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Wav w = loadWav(c.file);
        ASSERT_TRUE(w.valid);
        double fall = largestFall(w.samples, c.window);
        EXPECT_LT(fall, c.limit);
        // The measure sees a cut: the same sound stopped dead a third of the way in.
        std::vector<double> cut     = w.samples;
        size_t              loudest = 0;
        for (size_t i = 0; i < cut.size() / 3; ++i)
            if (std::fabs(cut[i]) > std::fabs(cut[loudest]))
                loudest = i;
        std::fill(cut.begin() + static_cast<long>(loudest + c.window), cut.end(), 0.0);
        EXPECT_GT(largestFall(cut, c.window), c.limit) << "the measure misses a cut";
    }
}

// The largest third difference of the samples. Smooth tones below 7 kHz keep it small;
// a waveform that jumps (a note cut mid-cycle) shows as a spike of about twice the jump.
double largestStep(const std::vector<double>& s)
{
    double top = 0;
    for (size_t i = 3; i < s.size(); ++i)
        top = std::max(top, std::fabs(s[i] - 3 * s[i - 1] + 3 * s[i - 2] - s[i - 3]));
    return top;
}

TEST(AssetsSounds, JingleNotesEndWithoutSteps)
{
    Wav w = loadWav("XtraLife.wav");
    ASSERT_TRUE(w.valid);
    EXPECT_LT(largestStep(w.samples), 0.07);
    // A note cut off at -23 dBFS (0.07 of full scale), as one stopping at a fifth of its
    // envelope would, is a step that the measure sees.
    std::vector<double> cut = w.samples;
    size_t              at  = cut.size() / 2;
    while (at < cut.size() && std::fabs(cut[at]) < 0.07)
        ++at;
    ASSERT_LT(at, cut.size());
    std::fill(cut.begin() + static_cast<long>(at), cut.end(), 0.0);
    EXPECT_GT(largestStep(cut), 0.1);
}

TEST(AssetsIcons, WindowIconIsA32BitBmpWithAlphaAndDesktopIconsExist)
{
    Bytes bmp = readBytes(dataPath("swarm-icon.bmp"));
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size());
    uint32_t pixelsAt = le32(bmp, 10), header = le32(bmp, 14);
    EXPECT_GE(header, 108u) << "needs a header with an alpha mask";
    EXPECT_EQ(le32(bmp, 18), 32u);
    EXPECT_EQ(le32(bmp, 22), 32u);
    EXPECT_EQ(le16(bmp, 28), 32u);
    EXPECT_EQ(le32(bmp, 30), 3u) << "bit fields";
    EXPECT_EQ(le32(bmp, 54 + 12), 0xFF000000u) << "alpha mask";
    ASSERT_EQ(bmp.size(), pixelsAt + 32u * 32u * 4u);
    // The logo's amber "S!" on a dark tile: the centre is opaque, the tile's rounded corner
    // is not, and at 32 pixels a good part of the tile is amber lettering.
    size_t centre = pixelsAt + (16 * 32 + 16) * 4;
    EXPECT_EQ(bmp[centre + 3], 255);
    EXPECT_EQ(bmp[pixelsAt + 3], 0);
    int amber = 0, dark = 0;
    for (size_t at = pixelsAt; at + 4 <= bmp.size(); at += 4) {
        int b = bmp[at], g = bmp[at + 1], r = bmp[at + 2], a = bmp[at + 3];
        amber += a == 255 && r > 200 && g > 90 && b < 150;
        dark += a == 255 && r < 60 && g < 60 && b < 80;
    }
    EXPECT_GT(amber, 32 * 32 / 5);
    EXPECT_GT(dark, 32 * 32 / 5);

    for (int size : {32, 48, 64, 128, 256}) {
        std::string n = std::to_string(size);
        Bytes png     = readBytes(std::string(SWARM_DATA_DIR) + "/../icons/hicolor/" + n + "x" + n +
                                  "/apps/swarm.png");
        ASSERT_GE(png.size(), 33u) << "icon " << n;
        EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
        auto be32 = [&](size_t at) {
            return static_cast<uint32_t>(png[at] << 24 | png[at + 1] << 16 | png[at + 2] << 8 |
                                         png[at + 3]);
        };
        EXPECT_EQ(be32(16), static_cast<uint32_t>(size));
        EXPECT_EQ(be32(20), static_cast<uint32_t>(size));
        EXPECT_EQ(png[25], 6) << "RGBA, for a transparent background";
    }
}

// The Windows program's icon: a directory of 16 to 64 pixel images that lie
// within the file, each a 32-bit DIB of twice its height (colour, then mask);
// the 32-pixel one is the window icon's picture.
TEST(AssetsIcons, WindowsIconHoldsEachSizeAsA32BitImage)
{
    const Bytes ico = readBytes(std::string(SWARM_DATA_DIR) + "/../icons/swarm.ico");
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(le16(ico, 2), 1u) << "an icon";
    ASSERT_EQ(le16(ico, 4), 4u);
    const Bytes    bmp     = readBytes(dataPath("swarm-icon.bmp"));
    const uint32_t sides[] = {16, 32, 48, 64};
    for (size_t i = 0; i < 4; ++i) {
        const size_t   entry = 6 + 16 * i;
        const uint32_t side  = sides[i];
        const uint32_t bytes = le32(ico, entry + 8), at = le32(ico, entry + 12);
        ASSERT_LE(size_t(at) + bytes, ico.size()) << side;
        EXPECT_EQ(ico[entry], side);
        EXPECT_EQ(le32(ico, at + 4), side);
        EXPECT_EQ(le32(ico, at + 8), 2 * side) << "colour and mask";
        EXPECT_EQ(le16(ico, at + 14), 32u);
        EXPECT_EQ(bytes, 40 + side * side * 4 + (side + 31) / 32 * 4 * side) << side;
        if (side == 32) {
            EXPECT_TRUE(std::equal(bmp.end() - 32 * 32 * 4, bmp.end(), ico.begin() + at + 40))
                << "the window icon's picture";
        }
    }
}

} // namespace
