// The display window and its OpenGL context on SDL2: fullscreen on the
// desktop's own mode or a window, Alt+Enter between them, the mouse cursor
// and the icon. Presenting the picture in it is host/present/present.cpp's job.
#include "host/sdl/window.h"

#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"
#include "host/picture.h"
#include "host/scaling.h"
#include "host/sdl/present.h"
#include "host/view.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

SDL_Window*   window       = nullptr;
SDL_GLContext context      = nullptr;
bool          videoStarted = false;
bool          gameWindow   = false; // the game's visible window, not the offscreen one
bool          cursorHidden = false;
// Where the window goes back to when Alt+Enter leaves fullscreen; w 0: not yet
// known, the default size centred on the window's screen.
SDL_Rect windowedPlace = {0, 0, 0, 0};

// The default window: twice the picture where that fits the screen's usable
// area, else the largest whole multiple that does, at least the picture.
void defaultWindowSize(int screen, int* w, int* h)
{
    SDL_Rect usable = {0, 0, 2 * pictureWidth, 2 * pictureHeight};
    SDL_GetDisplayUsableBounds(screen, &usable);
    int multiple = 2;
    while (multiple > 1 &&
           (multiple * pictureWidth > usable.w || multiple * pictureHeight > usable.h))
        --multiple;
    *w = multiple * pictureWidth;
    *h = multiple * pictureHeight;
}

// Where the picture lands in a drawable of w x h, from its bottom left: the
// same rule as presentDisplay's.
SDL_Rect pictureArea(int w, int h)
{
    const PixelRect r = planScaling(w, h, displaySettings.scale).picture;
    return {r.x, r.y, r.width, r.height};
}

bool isFullscreen() { return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0; }

bool fail(std::string* error, const char* what)
{
    *error = std::string(what) + SDL_GetError();
    closeDisplay();
    return false;
}

} // namespace

DisplaySettings displaySettings;

bool openDisplay(DisplayMode mode, std::string* error)
{
    if (mode == DisplayMode::Offscreen)
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
    const char* requested = std::getenv("SDL_VIDEODRIVER");
    if (mode == DisplayMode::Fullscreen && !(requested && *requested) && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY")) {
        *error = "cannot open the display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return fail(error, "cannot open the display: ");
    videoStarted = true;

    // SDL quietly falls back to its invisible offscreen driver when it finds no
    // display; for the game that is no display at all, unless asked for.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (mode == DisplayMode::Fullscreen && driver &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        !(requested && std::strcmp(requested, driver) == 0)) {
        *error = "cannot open the display: no X11 or Wayland display found";
        closeDisplay();
        return false;
    }

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 5);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 5);

    // Fullscreen at the desktop's own size: no mode switch to undo at exit.
    // The window is also made as large as the screen, at its top left, so that
    // it covers the screen where no window manager honours the fullscreen flag.
    // A window is centred on its screen and may be resized.
    Uint32   flags = SDL_WINDOW_OPENGL;
    int      x = SDL_WINDOWPOS_UNDEFINED, y = SDL_WINDOWPOS_UNDEFINED;
    int      w = pictureWidth, h = pictureHeight;
    SDL_Rect bounds;
    if (mode == DisplayMode::Fullscreen) {
        int screen = displaySettings.display;
        if (screen < 0 || screen >= SDL_GetNumVideoDisplays()) {
            std::fprintf(stderr, "swarm: there is no display %d; using display 0\n", screen);
            screen = 0;
        }
        if (displaySettings.window) {
            flags |= SDL_WINDOW_RESIZABLE;
            x = y = SDL_WINDOWPOS_CENTERED_DISPLAY(screen);
            defaultWindowSize(screen, &w, &h);
        } else {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
            if (SDL_GetDisplayBounds(screen, &bounds) == 0) {
                x = bounds.x;
                y = bounds.y;
                w = bounds.w;
                h = bounds.h;
            }
        }
    }
    // The game draws into the window itself only when it is exactly the
    // picture's size; at any other size it draws into a frame buffer with its
    // own depth buffer, and one for the window would only take memory (8 MB
    // at 1920 x 1080 on a software renderer).
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, w == pictureWidth && h == pictureHeight ? 16 : 0);
    window = SDL_CreateWindow("Swarm!", x, y, w, h, flags);
    if (!window)
        return fail(error, "cannot open the display: ");
    gameWindow    = mode == DisplayMode::Fullscreen;
    windowedPlace = {0, 0, 0, 0};
    if (gameWindow)
        SDL_SetWindowMinimumSize(window, pictureWidth / 2, pictureHeight / 2);
    context = SDL_GL_CreateContext(window);
    if (!context)
        return fail(error, "cannot create an OpenGL context: ");
    SDL_GL_MakeCurrent(window, context);
    if (!startPresenting(window, displaySettings.scale, error)) {
        closeDisplay();
        return false;
    }
    glViewport(0, 0, pictureWidth, pictureHeight);
    return true;
}

void closeDisplay()
{
    if (context) {
        stopPresenting();
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    gameWindow = false;
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
}

void toggleDisplayFullscreen()
{
    if (!window || !gameWindow)
        return;
    const int screen =
        SDL_GetWindowDisplayIndex(window) >= 0 ? SDL_GetWindowDisplayIndex(window) : 0;
    if (!isFullscreen()) {
        SDL_GetWindowPosition(window, &windowedPlace.x, &windowedPlace.y);
        SDL_GetWindowSize(window, &windowedPlace.w, &windowedPlace.h);
        // Borderless and as large as the screen first, as when starting
        // fullscreen, for a desktop without a window manager to honour the flag.
        SDL_Rect bounds;
        SDL_SetWindowResizable(window, SDL_FALSE);
        SDL_SetWindowBordered(window, SDL_FALSE);
        if (SDL_GetDisplayBounds(screen, &bounds) == 0) {
            SDL_SetWindowPosition(window, bounds.x, bounds.y);
            SDL_SetWindowSize(window, bounds.w, bounds.h);
        }
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowResizable(window, SDL_TRUE);
        if (windowedPlace.w == 0) {
            defaultWindowSize(screen, &windowedPlace.w, &windowedPlace.h);
            windowedPlace.x = windowedPlace.y = SDL_WINDOWPOS_CENTERED_DISPLAY(screen);
        }
        SDL_SetWindowSize(window, windowedPlace.w, windowedPlace.h);
        SDL_SetWindowPosition(window, windowedPlace.x, windowedPlace.y);
    }
}

void updateDisplayCursor()
{
    if (!window || !gameWindow)
        return;
    bool hide = true;
    if (!isFullscreen()) {
        // Mouse positions count in window units from the top left; the
        // picture's place in drawable pixels from the bottom left.
        hide   = false;
        int ww = 0, wh = 0, dw = 0, dh = 0, mx = 0, my = 0;
        SDL_GetWindowSize(window, &ww, &wh);
        SDL_GL_GetDrawableSize(window, &dw, &dh);
        if (SDL_GetMouseFocus() == window && ww > 0 && wh > 0) {
            SDL_GetMouseState(&mx, &my);
            const SDL_Point point = {mx * dw / ww, (wh - 1 - my) * dh / wh};
            const SDL_Rect  area  = pictureArea(dw, dh);
            hide                  = SDL_PointInRect(&point, &area);
        }
    }
    if (hide != cursorHidden) {
        SDL_ShowCursor(hide ? SDL_DISABLE : SDL_ENABLE);
        cursorHidden = hide;
    }
}

void setDisplayIcon(const char* bmpPath)
{
    if (!window)
        return;
    SDL_Surface* icon = SDL_LoadBMP(bmpPath);
    if (!icon)
        return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

bool createDisplayWindow(std::string* error)
{
    if (!openDisplay(DisplayMode::Fullscreen, error))
        return false;
    setDisplayIcon("swarm-icon.bmp");
    SDL_ShowCursor(SDL_DISABLE);
    cursorHidden = true;
    SDL_DisableScreenSaver();
    SDL_RaiseWindow(window);
    setPerspectiveView();
    loadGraphics();
    return true;
}

void destroyDisplayWindow()
{
    SDL_ShowCursor(SDL_ENABLE);
    releaseFont();
    closeDisplay();
}
