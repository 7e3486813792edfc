// The floor of presenting on this renderer: the game's own display, present
// and pacing, with nothing drawn but a clear of the 640 x 480 picture. Runs
// until a key, a close request or the given number of seconds. With
// --columns it draws every even column of the picture white, a ruler by
// which the end-to-end test measures how wide each source pixel ends up.
//   swarm-floor [--scale MODE] [--window] [SECONDS] [--columns]
#include "gfx/gl.h"
#include "host/options.h"
#include "host/present/frame_stats.h"
#include "host/sdl/sdl_host.h"
#include "host/sdl/window.h"
#include "system/clock_source.h"
#include "system/frame_clock.h"
#include "system/services.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    double                   seconds = 3600.0;
    bool                     columns = false;
    std::vector<const char*> gameArgs{argv[0]}; // the game's own options
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--columns") == 0)
            columns = true;
        else if (argv[i][0] >= '0' && argv[i][0] <= '9')
            seconds = std::atof(argv[i]);
        else
            gameArgs.push_back(argv[i]);
    }
    const Options options = parseOptions(static_cast<int>(gameArgs.size()), gameArgs.data());
    if (options.action != OptionsAction::Run) {
        std::fprintf(stderr, "swarm-floor: %s\n", options.error.c_str());
        return 2;
    }
    displaySettings = options.display;
    installSdlHost();
    startFrameStats(processPeakMemoryKib);
    std::string error;
    if (!createDisplayWindow(&error)) {
        std::fprintf(stderr, "swarm-floor: %s\n", error.c_str());
        shutDownSdl();
        return 1;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 0, 480, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    startFrameClock();
    bool quit = false;
    while (!quit && readFrameClock() < seconds * 1000.0) {
        frameStart = static_cast<float>(readFrameClock());
        SDL_Event event;
        while (SDL_PollEvent(&event))
            quit = quit || event.type == SDL_QUIT || event.type == SDL_KEYDOWN;
        glClearColor(0.0f, 0.0f, columns ? 0.0f : 0.2f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        if (columns) {
            glColor3f(1.0f, 1.0f, 1.0f);
            glBegin(GL_QUADS);
            for (int x = 0; x < 640; x += 2) {
                glVertex2i(x, 0);
                glVertex2i(x + 1, 0);
                glVertex2i(x + 1, 480);
                glVertex2i(x, 480);
            }
            glEnd();
        }
        hostServices.swapBuffers();
        waitForFrameEnd();
    }
    writeFrameStats();
    destroyDisplayWindow();
    shutDownSdl();
    return 0;
}
