// OpenGL entry points beyond 1.1, looked up through SDL for the current context.
#include "host/sdl/gl_calls.h"

#include <SDL2/SDL.h>

namespace {
void* sdlProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }
} // namespace

bool lookUpGlCalls() { return lookUpGlCalls(sdlProcAddress); }
