// An offscreen 640 x 480 OpenGL context for the tests, through SDL.
#include "gl_context.h"

#include "host/headless/offscreen.h"

#include <cstdlib>

void OffscreenGlEnvironment::SetUp()
{
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string error;
    ASSERT_TRUE(openOffscreenContext(&error)) << error;
}

void OffscreenGlEnvironment::TearDown() { closeOffscreenContext(); }
