// The SDL window as the shared present code sees it: its drawable, depth
// buffer, swap and display.
#include "host/sdl/present.h"

#include <SDL2/SDL.h>

namespace {

SDL_Window* window = nullptr;

void drawableSize(int* w, int* h) { SDL_GL_GetDrawableSize(window, w, h); }

int depthBits()
{
    int depth = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    return depth;
}

void swap() { SDL_GL_SwapWindow(window); }

bool swapWithoutWaiting() { return SDL_GL_SetSwapInterval(0) == 0; }

double refreshRate()
{
    SDL_DisplayMode mode = {};
    return SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &mode) == 0
               ? mode.refresh_rate
               : 0.0;
}

void* procAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

void* currentContext() { return SDL_GL_GetCurrentContext(); }

bool useContext(void* context)
{
    return SDL_GL_MakeCurrent(context ? window : nullptr, context) == 0;
}

void* sharedContext()
{
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
    SDL_GLContext second = SDL_GL_CreateContext(window);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    return second;
}

void deleteContext(void* context) { SDL_GL_DeleteContext(context); }

} // namespace

bool startPresenting(SDL_Window* target, ScaleMode scale, std::string* error)
{
    window                        = target;
    const PresentWindow sdlWindow = {
        drawableSize, depthBits,      swap,       swapWithoutWaiting, refreshRate,
        procAddress,  currentContext, useContext, sharedContext,      deleteContext};
    return startPresenting(sdlWindow, scale, error);
}
