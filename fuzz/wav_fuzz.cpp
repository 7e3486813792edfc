// Fuzz target: the game's sound loading on WAVs with random headers, decoded
// by SDL and converted by the mixer (on SDL's dummy audio driver). Input byte
// 0 picks the shape: even, bytes 1 to 16 overwrite the format fields (format
// tag, channels, rate, byte rate, block align, bits) of a sound file, bytes 17
// to 20 its data size, and the rest are its samples; odd, the rest follows "RIFF" and
// "WAVE" as the file's chunks. Whatever the header claims, a sound is either
// refused or at most maxSoundSeconds long at the mixer's rate.
#include "host/sdl/sound_decode.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int    mixRate     = 0;
Uint16 mixFormat   = 0;
int    mixChannels = 0;

void put32(std::vector<unsigned char>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::vector<unsigned char> soundFile(const uint8_t* data, size_t size)
{
    std::vector<unsigned char> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    if (data[0] % 2 == 1) {
        out.insert(out.end(), data + 1, data + size);
    } else {
        // A 22050 Hz mono 16-bit PCM header, then the input's fields over it.
        const unsigned char header[] = {'f', 'm',  't',  ' ', 16,  0,    0,    0, 1, 0, 1,
                                        0,   0x22, 0x56, 0,   0,   0x44, 0xac, 0, 0, 2, 0,
                                        16,  0,    'd',  'a', 't', 'a',  0,    0, 0, 0};
        out.insert(out.end(), header, header + sizeof header);
        const size_t fields = size - 1 < 20 ? size - 1 : 20;
        std::memcpy(out.data() + 20, data + 1, fields < 16 ? fields : 16);
        if (fields > 16)
            std::memcpy(out.data() + 40, data + 17, fields - 16);
        if (size > 21)
            out.insert(out.end(), data + 21, data + size);
        if (fields < 20) // no size given: the one the samples really take
            put32(out, 40, static_cast<uint32_t>(out.size() - 44));
    }
    put32(out, 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512) != 0 ||
        !Mix_QuerySpec(&mixRate, &mixFormat, &mixChannels))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::vector<unsigned char> file   = soundFile(data, size);
    const bool                       usable = soundBytesUsable(file.data(), file.size());
    Mix_Chunk*                       chunk  = decodeSound(file.data(), file.size());
    if (chunk && !usable)
        std::abort(); // the mixer took a file the check refuses
    if (chunk) {
        const uint64_t frameBytes = uint64_t(SDL_AUDIO_BITSIZE(mixFormat) / 8) * mixChannels;
        const uint64_t capFrames  = uint64_t(maxSoundSeconds) * mixRate + mixRate / 10;
        if (chunk->alen / frameBytes > capFrames)
            std::abort();
        Mix_FreeChunk(chunk);
    }
    return 0;
}
