// Sound files as the game's mixer takes them: decoded by SDL, and short.
#include "host/sdl/sound_decode.h"

#include "sound/wav_format.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cstdint>
#include <cstring>

namespace {

// A stream over the bytes; the mixer and SDL read only through it.
SDL_RWops* streamOver(const unsigned char* data, std::size_t size)
{
    if (!data || size == 0 || size > maxSoundFileBytes)
        return nullptr;
    return SDL_RWFromConstMem(data, static_cast<int>(size));
}

// How many sample frames `bytes` of audio in `format` and `channels` hold.
uint64_t frameCount(uint64_t bytes, SDL_AudioFormat format, int channels)
{
    const uint64_t frameBytes = uint64_t(SDL_AUDIO_BITSIZE(format) / 8) * uint64_t(channels);
    return frameBytes > 0 ? bytes / frameBytes : 0;
}

} // namespace

bool soundBytesUsable(const unsigned char* data, std::size_t size)
{
    // Only a WAV: the mixer would hand anything else to its music decoders,
    // whose output a small file does not bound.
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 ||
        std::memcmp(data + 8, "WAVE", 4) != 0 || !wavChunksWithinBytes(data, size))
        return false;
    SDL_RWops* stream = streamOver(data, size);
    if (!stream)
        return false;
    SDL_AudioSpec audio  = {};
    Uint8*        buffer = nullptr;
    Uint32        length = 0;
    if (!SDL_LoadWAV_RW(stream, 1, &audio, &buffer, &length))
        return false;
    SDL_FreeWAV(buffer);
    if (audio.freq <= 0 || audio.channels == 0)
        return false;
    const uint64_t frames = frameCount(length, audio.format, audio.channels);
    return frames > 0 && frames <= uint64_t(maxSoundSeconds) * uint64_t(audio.freq);
}

Mix_Chunk* decodeSound(const unsigned char* data, std::size_t size)
{
    int        rate     = 0;
    Uint16     format   = 0;
    int        channels = 0;
    SDL_RWops* stream   = nullptr;
    if (!Mix_QuerySpec(&rate, &format, &channels) || !soundBytesUsable(data, size) ||
        !(stream = streamOver(data, size)))
        return nullptr;
    Mix_Chunk* chunk = Mix_LoadWAV_RW(stream, 1);
    // The conversion keeps the length in seconds (give or take the
    // resampler's edges); a chunk that comes out longer all the same is refused.
    if (chunk && frameCount(chunk->alen, format, channels) >
                     uint64_t(maxSoundSeconds) * uint64_t(rate) + uint64_t(rate) / 10) {
        Mix_FreeChunk(chunk);
        chunk = nullptr;
    }
    return chunk;
}
