// The RIFF WAVE container and its plain sample formats.
#include "sound/wav_format.h"

#include <cstring>

namespace {

uint32_t le32(const unsigned char* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

constexpr uint16_t formatPcm        = 1;
constexpr uint16_t formatFloat      = 3;
constexpr uint16_t formatExtensible = 0xFFFE;

// Calls `visit(id, body, length)` for each chunk up to and including the
// data chunk; false when a chunk claims more than follows or there is no
// data chunk.
template <typename Visit> bool walkChunks(const unsigned char* data, std::size_t size, Visit visit)
{
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WAVE", 4) != 0)
        return false;
    std::size_t at = 12;
    while (size - at >= 8) {
        const uint32_t    length = le32(data + at + 4);
        const std::size_t body   = size - at - 8;
        if (length > body)
            return false;
        visit(data + at, data + at + 8, length);
        if (std::memcmp(data + at, "data", 4) == 0)
            return true;
        at += 8 + length;
        if (length % 2 == 1 && at < size)
            ++at; // chunks start on even offsets
    }
    return false; // no data chunk
}

} // namespace

bool wavChunksWithinBytes(const unsigned char* data, std::size_t size)
{
    return walkChunks(data, size, [](const unsigned char*, const unsigned char*, uint32_t) {});
}

bool parseWav(const unsigned char* data, std::size_t size, WavSamples* out)
{
    const unsigned char* format       = nullptr;
    uint32_t             formatLength = 0;
    const unsigned char* samples      = nullptr;
    uint32_t             sampleBytes  = 0;
    const bool           whole =
        walkChunks(data, size, [&](const unsigned char* id, const unsigned char* body, uint32_t n) {
            if (std::memcmp(id, "fmt ", 4) == 0 && !format) {
                format       = body;
                formatLength = n;
            } else if (std::memcmp(id, "data", 4) == 0) {
                samples     = body;
                sampleBytes = n;
            }
        });
    if (!whole || !format || formatLength < 16)
        return false;
    uint16_t tag = le16(format);
    if (tag == formatExtensible && formatLength >= 26)
        tag = le16(format + 24); // the sub-format's first two bytes
    const int  channels = le16(format + 2);
    const int  rate     = static_cast<int>(le32(format + 4));
    const int  bits     = le16(format + 14);
    const bool isFloat  = tag == formatFloat && bits == 32;
    const bool isPcm    = tag == formatPcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
    if ((!isFloat && !isPcm) || channels < 1 || channels > 8 || rate < 1 || rate > 384000)
        return false;
    const std::size_t frameBytes = std::size_t(bits / 8) * std::size_t(channels);
    *out = {rate, channels, bits, isFloat, samples, sampleBytes / frameBytes};
    return out->frames > 0;
}

float wavSample(const WavSamples& wav, std::size_t index)
{
    const unsigned char* p = wav.samples + index * std::size_t(wav.bitsPerSample / 8);
    if (wav.floatingPoint) {
        float value;
        std::memcpy(&value, p, sizeof value);
        return value;
    }
    switch (wav.bitsPerSample) {
    case 8: return (static_cast<float>(p[0]) - 128.0f) / 128.0f;
    case 16: return static_cast<float>(static_cast<int16_t>(le16(p))) / 32768.0f;
    case 24: {
        // The three bytes at the top of an int, shifted back down with the sign.
        const uint32_t bits = uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24;
        return static_cast<float>(static_cast<int32_t>(bits) >> 8) / 8388608.0f;
    }
    default: return static_cast<float>(static_cast<int32_t>(le32(p))) / 2147483648.0f;
    }
}
