// Test helpers for the generated data: reading files and parsing the archive's TGA entries.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace assets {

using Bytes = std::vector<uint8_t>;

inline Bytes readFile(const std::string& path)
{
    Bytes out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return out;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

inline std::string dataPath(const std::string& name) { return std::string(SWARM_DATA_DIR) + "/" + name; }

inline uint32_t le16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
inline uint32_t le32(const Bytes& b, size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }

// One picture of the archive as stored: B, G, R (A), bottom row first.
struct Picture {
    int width = 0, height = 0, depth = 0;
    Bytes pixels;
    // Channel c (0 blue, 1 green, 2 red, 3 alpha) at column x and row y counted from the top.
    int at(int x, int yFromTop, int c) const
    {
        int row = height - 1 - yFromTop;
        return pixels[(static_cast<size_t>(row) * width + x) * (depth / 8) + c];
    }
    int alpha(int x, int yFromTop) const { return depth == 32 ? at(x, yFromTop, 3) : 255; }
};

inline Picture pictureAt(const Bytes& archive, size_t offset)
{
    Picture p;
    if (offset + 18 > archive.size())
        return p;
    p.width = static_cast<int>(le16(archive, offset + 12));
    p.height = static_cast<int>(le16(archive, offset + 14));
    p.depth = archive[offset + 16];
    size_t n = static_cast<size_t>(p.width) * p.height * (p.depth / 8);
    if (offset + 18 + n <= archive.size())
        p.pixels.assign(archive.begin() + static_cast<long>(offset) + 18, archive.begin() + static_cast<long>(offset + 18 + n));
    else
        p.width = p.height = 0;
    return p;
}

// Archive offsets of the pictures the game reads.
const size_t kShipSheet = 0, kIntroImage = 65580, kBackdrop = 262232, kFontImage = 1835140;
const size_t kFirstEnemy = 2097328, kEnemyStride = 16428, kExplosionRing = 2245180, kLogo = 2261608;

} // namespace assets
