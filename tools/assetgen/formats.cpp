// Writes the TGA, WAV and BMP byte layouts that the game and the desktop read.
#include "formats.h"

#include <cstdio>
#include <cstring>

namespace {

void put16(std::vector<uint8_t>& v, uint32_t x)
{
    v.push_back(static_cast<uint8_t>(x & 0xFF));
    v.push_back(static_cast<uint8_t>((x >> 8) & 0xFF));
}

void put32(std::vector<uint8_t>& v, uint32_t x)
{
    put16(v, x & 0xFFFF);
    put16(v, x >> 16);
}

void putText(std::vector<uint8_t>& v, const char* s, size_t n) { v.insert(v.end(), s, s + n); }

} // namespace

std::vector<uint8_t> tgaEntry(const Canvas& picture, int bitsPerPixel)
{
    int                  channels = bitsPerPixel / 8;
    std::vector<uint8_t> out      = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(out, static_cast<uint32_t>(picture.w));
    put16(out, static_cast<uint32_t>(picture.h));
    out.push_back(static_cast<uint8_t>(bitsPerPixel));
    out.push_back(channels == 4 ? 0x08 : 0x00); // origin bottom left, 8 alpha bits when 32-bit
    std::vector<uint8_t> px = picture.bytes(channels);
    for (int y = picture.h - 1; y >= 0; --y)
        for (int x = 0; x < picture.w; ++x) {
            const uint8_t* s = &px[(static_cast<size_t>(y) * picture.w + x) * channels];
            out.push_back(s[2]);
            out.push_back(s[1]);
            out.push_back(s[0]);
            if (channels == 4)
                out.push_back(s[3]);
        }
    put32(out, 0); // extension area offset
    put32(out, 0); // developer directory offset
    putText(out, "TRUEVISION-XFILE.", 17);
    out.push_back(0);
    return out;
}

std::vector<uint8_t> wavFile(const std::vector<int16_t>& samples, int rate)
{
    std::vector<uint8_t> out;
    uint32_t             dataBytes = static_cast<uint32_t>(samples.size() * 2);
    putText(out, "RIFF", 4);
    put32(out, 36 + dataBytes);
    putText(out, "WAVE", 4);
    putText(out, "fmt ", 4);
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, 1); // mono
    put32(out, static_cast<uint32_t>(rate));
    put32(out, static_cast<uint32_t>(rate) * 2);
    put16(out, 2);
    put16(out, 16);
    putText(out, "data", 4);
    put32(out, dataBytes);
    for (int16_t s : samples)
        put16(out, static_cast<uint16_t>(s));
    return out;
}

std::vector<uint8_t> bmpFile(const Canvas& picture)
{
    const uint32_t       headerBytes = 14 + 108;
    uint32_t             pixelBytes  = static_cast<uint32_t>(picture.w * picture.h * 4);
    std::vector<uint8_t> out;
    putText(out, "BM", 2);
    put32(out, headerBytes + pixelBytes);
    put32(out, 0);
    put32(out, headerBytes);
    put32(out, 108); // BITMAPV4HEADER
    put32(out, static_cast<uint32_t>(picture.w));
    put32(out, static_cast<uint32_t>(picture.h)); // positive: bottom row first
    put16(out, 1);
    put16(out, 32);
    put32(out, 3); // BI_BITFIELDS
    put32(out, pixelBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0x00FF0000u); // red mask
    put32(out, 0x0000FF00u); // green mask
    put32(out, 0x000000FFu); // blue mask
    put32(out, 0xFF000000u); // alpha mask
    putText(out, "BGRs", 4); // LCS_WINDOWS_COLOR_SPACE, stored little-endian as 'sRGB'
    for (int i = 0; i < 12; ++i)
        put32(out, 0); // endpoints and gamma, unused
    std::vector<uint8_t> px = picture.bytes(4);
    for (int y = picture.h - 1; y >= 0; --y)
        for (int x = 0; x < picture.w; ++x) {
            const uint8_t* s = &px[(static_cast<size_t>(y) * picture.w + x) * 4];
            out.push_back(s[2]);
            out.push_back(s[1]);
            out.push_back(s[0]);
            out.push_back(s[3]);
        }
    return out;
}

std::vector<uint8_t> icoFile(const std::vector<Canvas>& pictures)
{
    // Each entry is a 32-bit DIB: a BITMAPINFOHEADER of twice the height (the
    // colour rows, then the 1-bit AND mask's), bottom row first.
    std::vector<std::vector<uint8_t>> images;
    for (const Canvas& picture : pictures) {
        std::vector<uint8_t> image;
        const int            maskRow = ((picture.w + 31) / 32) * 4;
        put32(image, 40);
        put32(image, static_cast<uint32_t>(picture.w));
        put32(image, static_cast<uint32_t>(picture.h * 2));
        put16(image, 1);
        put16(image, 32);
        for (int i = 0; i < 6; ++i)
            put32(image, 0); // BI_RGB, sizes and colours left to the reader
        const std::vector<uint8_t> px = picture.bytes(4);
        for (int y = picture.h - 1; y >= 0; --y)
            for (int x = 0; x < picture.w; ++x) {
                const uint8_t* c = &px[(static_cast<size_t>(y) * picture.w + x) * 4];
                image.insert(image.end(), {c[2], c[1], c[0], c[3]});
            }
        image.resize(image.size() + static_cast<size_t>(maskRow * picture.h), 0); // alpha decides
        images.push_back(std::move(image));
    }
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1); // an icon
    put16(out, static_cast<uint16_t>(pictures.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        out.push_back(static_cast<uint8_t>(pictures[i].w % 256)); // 0 stands for 256
        out.push_back(static_cast<uint8_t>(pictures[i].h % 256));
        out.push_back(0); // no palette
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const std::vector<uint8_t>& image : images)
        out.insert(out.end(), image.begin(), image.end());
    return out;
}

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}
