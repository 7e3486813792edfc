// The sound backend on SDL2_mixer. Each game channel is one mixer channel, so a
// sound started on a channel replaces the one it plays, and channels mix.
#include "sound/sdl/mixer.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <vector>

namespace {

constexpr int sampleRate   = 44100;
constexpr int bufferFrames = 512; // about 12 ms: a shot is heard when it is fired

std::vector<Mix_Chunk*> chunks; // sound id n is chunks[n - 1]
bool                    audioStarted = false;

bool mixerOpen()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    if (Mix_OpenAudio(sampleRate, AUDIO_S16SYS, 2, bufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(4);
    audioStarted = true;
    return true;
}

int32_t mixerLoad(const char* fileName, int32_t)
{
    Mix_Chunk* chunk = Mix_LoadWAV(fileName);
    if (!chunk)
        return 0;
    chunks.push_back(chunk);
    return static_cast<int32_t>(chunks.size());
}

void mixerPlay(int32_t id, int32_t channel)
{
    if (id < 1 || static_cast<size_t>(id) > chunks.size())
        return;
    Mix_PlayChannel(channel - 1, chunks[static_cast<size_t>(id) - 1], 0);
}

void mixerClose()
{
    if (!audioStarted)
        return;
    for (int channel : {4, 3, 1, 2})
        Mix_HaltChannel(channel - 1);
    for (Mix_Chunk* chunk : chunks)
        Mix_FreeChunk(chunk);
    chunks.clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioStarted = false;
}

} // namespace

const SoundBackend mixerSoundBackend = {mixerOpen, mixerLoad, mixerPlay, mixerClose};
