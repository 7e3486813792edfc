// Swarm!: process entry and the main loop. One event at most, then one frame,
// per pass, until the game asks to quit.
#include "app/input.h"
#include "app/sdl/display.h"
#include "app/sdl/frame_stats.h"
#include "app/sdl/platform.h"
#include "game/frame.h"
#include "sound/sdl/mixer.h"
#include "sound/sound.h"

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
    if (!createDisplayWindow(&error)) {
        std::fprintf(stderr, "swarm: %s\n", error.c_str());
        shutDownSdl();
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
    shutDownSdl();
    return 0;
}
