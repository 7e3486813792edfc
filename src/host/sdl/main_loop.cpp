// The SDL host's main loop, shared by the game and its tests.
#include "game/frame.h"
#include "host/run_session.h"
#include "host/sdl/sdl_host.h"
#include "system/input.h"

void runSdlMainLoop()
{
    while (!quitRequested) {
        if (runSession.watching)
            handleWatchingSdlEvents();
        else
            handleOneSdlEvent();
        runFrame();
        finishPass();
    }
}
