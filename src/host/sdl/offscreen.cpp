// The headless host's OpenGL context on SDL: an invisible 640 x 480 window of
// SDL's offscreen driver, drawn into directly.
#include "host/headless/offscreen.h"

#include "host/sdl/sdl_host.h"
#include "host/sdl/window.h"

bool openOffscreenContext(std::string* error) { return openDisplay(DisplayMode::Offscreen, error); }

void closeOffscreenContext()
{
    closeDisplay();
    shutDownSdl();
}
