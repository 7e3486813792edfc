// PNG files without a compression library, for the browser build of the
// tools: the picture goes into deflate's stored blocks, which every PNG
// reader takes. Larger than compressed files, and as exact.
#include "png_write.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

uint32_t crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    static uint32_t table[256];
    if (!table[1])
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body)
{
    put32(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    put32(out, crc32(&out[start], out.size() - start));
}

} // namespace

bool writePng(const std::string& path, const uint8_t* pixels, int width, int height, int channels)
{
    std::vector<uint8_t> header;
    put32(header, static_cast<uint32_t>(width));
    put32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, static_cast<uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});

    // Each row: filter type 0, then the row's bytes.
    const size_t         rowBytes = size_t(width) * size_t(channels);
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * size_t(height));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), pixels + size_t(y) * rowBytes, pixels + size_t(y + 1) * rowBytes);
    }
    // zlib: header, stored blocks of at most 65535 bytes, Adler-32.
    std::vector<uint8_t> z = {0x78, 0x01};
    for (size_t at = 0; at < raw.size() || raw.empty(); at += 65535) {
        const size_t n    = std::min<size_t>(65535, raw.size() - at);
        const bool   last = at + n >= raw.size();
        z.insert(z.end(), {static_cast<uint8_t>(last ? 1 : 0), static_cast<uint8_t>(n),
                           static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(~n),
                           static_cast<uint8_t>(~n >> 8)});
        z.insert(z.end(), raw.begin() + static_cast<long>(at),
                 raw.begin() + static_cast<long>(at + n));
        if (last)
            break;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put32(z, b << 16 | a);

    std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    chunk(file, "IHDR", header);
    chunk(file, "IDAT", z);
    chunk(file, "IEND", {});
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}
