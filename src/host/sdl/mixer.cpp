// The sound backend on SDL2_mixer. A sound started on a game channel replaces the
// one it plays, and channels mix. Each game channel owns a few mixer channels: the
// new sound starts on a free one while the old one fades out over 4 ms, so that
// no sound is cut off mid-waveform.
#include "host/sdl/mixer.h"

#include "host/sdl/sound_decode.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <atomic>
#include <cstdio>
#include <vector>

namespace {

constexpr int sampleRate   = 44100;
constexpr int bufferFrames = 512; // about 12 ms: a shot is heard when it is fired
constexpr int gameChannels = 4;
constexpr int slotsPerGame = 3; // room for two replacements within one fade
constexpr int fadeMs       = replacedSoundFadeMs;
constexpr int expireMs     = 40; // halts a faded channel once the fade has surely run

// One mixer channel. `fadeLeft` is -1 while the sound plays at full volume, else the
// frames left of its fade (0: silent). The main thread starts and clears a fade; the
// audio thread counts it down, never over a value that the main thread has changed.
struct Slot {
    std::atomic<int> fadeLeft{-1};
};

std::vector<Mix_Chunk*> chunks; // sound id n is chunks[n - 1]
Slot                    slots[gameChannels * slotsPerGame];
bool                    audioStarted = false;
int                     fadeFrames   = 0; // 0: the device format cannot be faded, cut instead
int                     outputFormat = 0;
int                     outputWidth  = 1; // samples per frame

template <typename Sample> void applyFade(Sample* s, int frames, int width, int left)
{
    for (int f = 0; f < frames; ++f) {
        const float gain = left > 0 ? static_cast<float>(left) / fadeFrames : 0.0f;
        for (int c = 0; c < width; ++c)
            s[f * width + c] = static_cast<Sample>(s[f * width + c] * gain);
        if (left > 0)
            --left;
    }
}

// Mixer effect on every channel: scales the channel's own samples along its fade.
void fadeEffect(int channel, void* stream, int bytes, void*)
{
    if (channel < 0 || channel >= gameChannels * slotsPerGame)
        return;
    std::atomic<int>& state = slots[channel].fadeLeft;
    int               left  = state.load();
    if (left < 0)
        return;
    int frames = 0;
    if (outputFormat == AUDIO_S16SYS) {
        frames = bytes / static_cast<int>(sizeof(int16_t)) / outputWidth;
        applyFade(static_cast<int16_t*>(stream), frames, outputWidth, left);
    } else {
        frames = bytes / static_cast<int>(sizeof(float)) / outputWidth;
        applyFade(static_cast<float*>(stream), frames, outputWidth, left);
    }
    const int after = left > frames ? left - frames : 0;
    state.compare_exchange_strong(left, after);
}

// Whether SDL, choosing its audio driver itself, found one that knows no
// device to play on: then there is no sound device. Opening one anyway has
// ALSA print a screenful of errors about the missing card. A driver that
// cannot list its devices (-1), or one the player chose, is opened as usual,
// and its errors show.
bool noSoundDevice()
{
    const char* chosen = SDL_GetHint(SDL_HINT_AUDIODRIVER);
    return !(chosen && *chosen) && SDL_GetNumAudioDevices(0) == 0;
}

bool mixerOpen()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (noSoundDevice()) {
        std::fputs("swarm: no sound device; playing silently\n", stderr);
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    if (Mix_OpenAudio(sampleRate, AUDIO_S16SYS, 2, bufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(gameChannels * slotsPerGame);
    int    rate = 0, width = 0;
    Uint16 format = 0;
    fadeFrames    = 0;
    if (Mix_QuerySpec(&rate, &format, &width) != 0 && width > 0 &&
        (format == AUDIO_S16SYS || format == AUDIO_F32SYS)) {
        outputFormat = format;
        outputWidth  = width;
        fadeFrames   = rate * fadeMs / 1000;
    }
    for (Slot& slot : slots)
        slot.fadeLeft = -1;
    audioStarted = true;
    return true;
}

int32_t mixerLoad(const char* fileName, int32_t)
{
    BoundedFile file;
    if (!readSoundFile(fileName, file))
        return 0;
    Mix_Chunk* chunk = decodeSound(file.bytes.data(), file.bytes.size());
    if (!chunk)
        return 0;
    chunks.push_back(chunk);
    return static_cast<int32_t>(chunks.size());
}

void mixerPlay(int32_t id, int32_t channel)
{
    if (id < 1 || static_cast<size_t>(id) > chunks.size() || channel < 1 || channel > gameChannels)
        return;
    const int first = (channel - 1) * slotsPerGame;
    // Fade out what the game channel plays; start the new sound on a free mixer channel,
    // or else on the one furthest into its fade.
    int target = -1, quietest = first, quietestLeft = fadeFrames + 1;
    for (int m = first; m < first + slotsPerGame; ++m) {
        if (!Mix_Playing(m)) {
            if (target < 0)
                target = m;
            continue;
        }
        int left = slots[m].fadeLeft.load();
        if (left < 0 && fadeFrames > 0) {
            slots[m].fadeLeft = fadeFrames;
            Mix_ExpireChannel(m, expireMs);
            left = fadeFrames;
        } else if (left < 0) {
            Mix_HaltChannel(m); // no fade in this device format: cut as before
            left = 0;
        }
        if (left < quietestLeft) {
            quietest     = m;
            quietestLeft = left;
        }
    }
    if (target < 0) {
        target = quietest;
        Mix_HaltChannel(target);
    }
    slots[target].fadeLeft = -1;
    if (Mix_PlayChannel(target, chunks[static_cast<size_t>(id) - 1], 0) < 0)
        return;
    // The mixer drops a channel's effects whenever its sound ends, so each start adds it.
    Mix_UnregisterAllEffects(target);
    if (fadeFrames > 0)
        Mix_RegisterEffect(target, fadeEffect, nullptr, nullptr);
}

void mixerClose()
{
    if (!audioStarted)
        return;
    for (int channel : {4, 3, 1, 2})
        for (int k = 0; k < slotsPerGame; ++k)
            Mix_HaltChannel((channel - 1) * slotsPerGame + k);
    for (Mix_Chunk* chunk : chunks)
        Mix_FreeChunk(chunk);
    chunks.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted = false;
}

} // namespace

const SoundBackend mixerSoundBackend = {mixerOpen, mixerLoad, mixerPlay, mixerClose};
