// Checks the generated sound files and icons: format, length, level and no clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// File helpers defined in assets_test.cpp.
namespace assets {
using Bytes = std::vector<uint8_t>;
Bytes       readFile(const std::string& path);
std::string dataPath(const std::string& name);
uint32_t    le16(const Bytes& b, size_t at);
uint32_t    le32(const Bytes& b, size_t at);
} // namespace assets

using namespace assets;

namespace {

struct Wav {
    bool                 valid = false;
    std::vector<int16_t> samples;
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
                w.samples.push_back(static_cast<int16_t>(le16(b, at + 8 + i)));
            w.valid = size % 2 == 0;
        }
        at += 8 + size + (size & 1);
    }
    return w;
}

struct SoundSpec {
    const char* file;
    double      minSeconds, maxSeconds;
};

TEST(AssetsSounds, EveryWavIsValidAudibleUnclippedAndClickFree)
{
    const SoundSpec     specs[] = {{"PlayerShot.wav", 0.1, 0.25},
                                   {"EnemyShot.wav", 0.1, 0.35},
                                   {"EExplode.wav", 0.3, 0.6},
                                   {"XtraLife.wav", 0.6, 1.0},
                                   {"PExplode.wav", 1.0, 1.5}};
    std::vector<double> loudness;
    for (const SoundSpec& s : specs) {
        SCOPED_TRACE(s.file);
        Wav w = parseWav(readFile(dataPath(s.file)));
        ASSERT_TRUE(w.valid) << "not 16-bit mono PCM at 44,100 Hz";
        double seconds = w.samples.size() / 44100.0;
        EXPECT_GE(seconds, s.minSeconds);
        EXPECT_LE(seconds, s.maxSeconds);
        int    peak  = 0;
        double power = 0;
        for (int16_t v : w.samples) {
            peak = std::max(peak, std::abs(static_cast<int>(v)));
            power += static_cast<double>(v) * v;
        }
        double rms = std::sqrt(power / w.samples.size());
        EXPECT_LE(peak, 23198) << "peak above -3 dBFS";
        EXPECT_GT(peak, 8000) << "too quiet";
        EXPECT_GT(rms, 1000) << "nearly silent";
        loudness.push_back(rms);
        // Fades at both ends: the first and last samples sit at silence.
        EXPECT_LT(std::abs(w.samples.front()), 200);
        EXPECT_LT(std::abs(w.samples.back()), 200);
        int jump = 0;
        for (size_t i = 0; i < 20 && i + 1 < w.samples.size(); ++i)
            jump = std::max(jump, std::abs(w.samples[i + 1] - w.samples[i]));
        EXPECT_LT(jump, 4000) << "the start clicks";
    }
    // Balanced: no effect more than four times as loud (RMS) as another.
    double lo = *std::min_element(loudness.begin(), loudness.end());
    double hi = *std::max_element(loudness.begin(), loudness.end());
    EXPECT_LT(hi, lo * 4);
}

TEST(AssetsIcons, WindowIconIsA32BitBmpWithAlphaAndDesktopIconsExist)
{
    Bytes bmp = readFile(dataPath("swarm-icon.bmp"));
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
    // The ship on a dark ground: the centre is opaque, the tile's rounded corner is not.
    size_t centre = pixelsAt + (16 * 32 + 16) * 4;
    EXPECT_EQ(bmp[centre + 3], 255);
    EXPECT_EQ(bmp[pixelsAt + 3], 0);

    for (int size : {32, 48, 64, 128, 256}) {
        std::string n = std::to_string(size);
        Bytes png     = readFile(std::string(SWARM_DATA_DIR) + "/../icons/hicolor/" + n + "x" + n +
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

} // namespace
