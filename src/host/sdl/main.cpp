// Swarm!: process entry and the main loop. One event at most, then one frame,
// per pass, until the game asks to quit. Every run is recorded, and kept as
// the best game when it saves a new high score; --watch plays a recording.
#include "host/options.h"
#include "host/present/frame_stats.h"
#include "host/run_session.h"
#include "host/sdl/gamepad.h"
#include "host/sdl/mixer.h"
#include "host/sdl/sdl_host.h"
#include "host/sdl/window.h"
#include "sound/sound.h"
#include "system/input.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    const Options options = parseOptions(argc, argv);
    switch (options.action) {
    case OptionsAction::Help: std::fputs(usageText(), stdout); return 0;
    case OptionsAction::Version: std::printf("%s\n", versionText().c_str()); return 0;
    case OptionsAction::Error:
        std::fprintf(stderr, "swarm: %s\nTry 'swarm --help' for the options.\n",
                     options.error.c_str());
        return 2;
    case OptionsAction::Run: break;
    }
    displaySettings = options.display;

    std::string error;
    std::string watched;
    if (!options.watch.empty() && !readWatchedRecording(options.watch, &watched, &error)) {
        std::fprintf(stderr, "swarm: %s\n", error.c_str());
        return 1;
    }
    installSdlHost();
    if (options.watch.empty()) {
        startRecordedRun();
    } else if (!startWatchedRun(watched, &error)) {
        std::fprintf(stderr, "swarm: %s: %s\n", options.watch.c_str(), error.c_str());
        return 1;
    }
    soundBackend = &mixerSoundBackend;
#ifdef SWARM_FRAME_STATS
    startFrameStats(processPeakMemoryKib);
#endif

    if (!createDisplayWindow(&error)) {
        std::fprintf(stderr, "swarm: %s\n", error.c_str());
        shutDownSdl();
        return 1;
    }
    filterSdlEvents();
    startGamepads();

    runSdlMainLoop();
    keepBestGame();

#ifdef SWARM_FRAME_STATS
    writeFrameStats();
#endif
    stopGamepads();
    destroyDisplayWindow();
    stopSound();
    shutDownSdl();
    return 0;
}
