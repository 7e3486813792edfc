// Swarm!: process entry and the main loop. One event at most, then one frame,
// per pass, until the game asks to quit.
#include "app/input.h"
#include "app/sdl_display.h"
#include "app/sdl_frame_stats.h"
#include "app/sdl_platform.h"
#include "game/frame.h"
#include "sound/sdl_mixer.h"
#include "sound/sound.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <string>

int main(int, char**)
{
    installSdlPlatform();
    soundBackend = &mixerSoundBackend;
#ifdef SWARM_FRAME_STATS
    startFrameStats();
#endif

    std::string error;
    if (!createDisplayWindow("Swarm!", 640, 480, 16, &error)) {
        std::fprintf(stderr, "swarm: %s\n", error.c_str());
        SDL_Quit();
        return 1;
    }
    filterSdlEvents();

    while (!quitRequested) {
        handleOneSdlEvent();
        runFrame();
    }

#ifdef SWARM_FRAME_STATS
    writeFrameStats();
#endif
    destroyDisplayWindow();
    stopSound();
    SDL_Quit();
    return 0;
}
