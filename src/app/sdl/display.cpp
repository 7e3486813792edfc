// The display window and its OpenGL context on SDL2. The game draws a 640 x 480
// picture into an off-screen frame buffer; presenting scales it into the
// fullscreen screen or the window as the scaling plan says (whole-number
// steps, or a sharp-bilinear 4:3 fill), with black bars around. Alt+Enter
// switches between fullscreen and a window.
#include "app/sdl/display.h"

#include "app/scaling.h"
#include "app/view.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int pictureWidth  = 640;
constexpr int pictureHeight = 480;

// GL 3.0 frame buffer entry points, looked up at run time.
#ifndef GL_FRAMEBUFFER
#define GL_FRAMEBUFFER          0x8D40
#define GL_READ_FRAMEBUFFER     0x8CA8
#define GL_DRAW_FRAMEBUFFER     0x8CA9
#define GL_RENDERBUFFER         0x8D41
#define GL_COLOR_ATTACHMENT0    0x8CE0
#define GL_DEPTH_ATTACHMENT     0x8D00
#define GL_FRAMEBUFFER_COMPLETE 0x8CD5
#define GL_DEPTH_COMPONENT16    0x81A5
#endif
using GenFn     = void (*)(GLsizei, GLuint*);
using BindFn    = void (*)(GLenum, GLuint);
using StorageFn = void (*)(GLenum, GLenum, GLsizei, GLsizei);
using AttachFn  = void (*)(GLenum, GLenum, GLenum, GLuint);
using StatusFn  = GLenum (*)(GLenum);
using BlitFn = void (*)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield, GLenum);
using DeleteFn      = void (*)(GLsizei, const GLuint*);
using ClearBufferFn = void (*)(GLenum, GLint, const GLfloat*);

struct FramebufferCalls {
    GenFn         genFramebuffers;
    BindFn        bindFramebuffer;
    GenFn         genRenderbuffers;
    BindFn        bindRenderbuffer;
    StorageFn     renderbufferStorage;
    AttachFn      framebufferRenderbuffer;
    StatusFn      checkFramebufferStatus;
    BlitFn        blitFramebuffer;
    DeleteFn      deleteFramebuffers;
    DeleteFn      deleteRenderbuffers;
    ClearBufferFn clearBuffer; // OpenGL 3.0; null before, then glClear is used
};

SDL_Window*      window       = nullptr;
SDL_GLContext    context      = nullptr;
FramebufferCalls fb           = {};
GLuint           frameBuffer  = 0;
GLuint           colourBuffer = 0;
GLuint           depthBuffer  = 0;
bool             videoStarted = false;
bool             gameWindow   = false; // the game's visible window, not the offscreen one
bool             cursorHidden = false;
// Where the window goes back to when Alt+Enter leaves fullscreen; w 0: not yet
// known, the default size centred on the window's screen.
SDL_Rect windowedPlace = {0, 0, 0, 0};

// Fill mode's intermediate picture, a whole multiple of 640 x 480.
GLuint stepBuffer   = 0;
GLuint stepColour   = 0;
int    stepMultiple = 0;

template <typename T> bool lookUp(T& fn, const char* name)
{
    fn = reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
    return fn != nullptr;
}

bool createFramebuffer(std::string* error)
{
    // Frame buffer objects are core from OpenGL 3.0 and an extension before.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const bool  core    = version && std::atoi(version) >= 3;
    bool        ok      = (core || SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object")) &&
              lookUp(fb.genFramebuffers, "glGenFramebuffers") &&
              lookUp(fb.bindFramebuffer, "glBindFramebuffer") &&
              lookUp(fb.genRenderbuffers, "glGenRenderbuffers") &&
              lookUp(fb.bindRenderbuffer, "glBindRenderbuffer") &&
              lookUp(fb.renderbufferStorage, "glRenderbufferStorage") &&
              lookUp(fb.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
              lookUp(fb.checkFramebufferStatus, "glCheckFramebufferStatus") &&
              lookUp(fb.blitFramebuffer, "glBlitFramebuffer") &&
              lookUp(fb.deleteFramebuffers, "glDeleteFramebuffers") &&
              lookUp(fb.deleteRenderbuffers, "glDeleteRenderbuffers");
    if (core)
        lookUp(fb.clearBuffer, "glClearBufferfv");
    if (!ok) {
        *error = "OpenGL frame buffer objects are not available";
        return false;
    }
    fb.genRenderbuffers(1, &colourBuffer);
    fb.bindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, pictureWidth, pictureHeight);
    fb.genRenderbuffers(1, &depthBuffer);
    fb.bindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, pictureWidth, pictureHeight);
    fb.genFramebuffers(1, &frameBuffer);
    fb.bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthBuffer);
    if (fb.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        *error = "cannot create the 640 x 480 frame buffer";
        return false;
    }
    return true;
}

// Black for the whole window, both buffers, so the bars start black.
void clearWindowBlack()
{
    fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
    }
    glClear(GL_COLOR_BUFFER_BIT);
    fb.bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
}

bool drawableIsPictureSized()
{
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    return w == pictureWidth && h == pictureHeight;
}

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

// Black over the whole draw buffer, leaving the game's clear colour alone.
void clearToBlack()
{
    static const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    if (fb.clearBuffer) {
        fb.clearBuffer(GL_COLOR, 0, black);
        return;
    }
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(black[0], black[1], black[2], black[3]);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void deleteStepBuffer()
{
    if (stepBuffer) {
        fb.deleteFramebuffers(1, &stepBuffer);
        fb.deleteRenderbuffers(1, &stepColour);
    }
    stepBuffer = stepColour = 0;
    stepMultiple            = 0;
}

// The intermediate picture for a fill at this multiple; false when it cannot
// be had (the present then filters straight from 640 x 480).
bool makeStepBuffer(int multiple)
{
    if (stepBuffer && stepMultiple == multiple)
        return true;
    deleteStepBuffer();
    fb.genRenderbuffers(1, &stepColour);
    fb.bindRenderbuffer(GL_RENDERBUFFER, stepColour);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, multiple * pictureWidth,
                           multiple * pictureHeight);
    fb.genFramebuffers(1, &stepBuffer);
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, stepBuffer);
    fb.framebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                               stepColour);
    const bool complete = fb.checkFramebufferStatus(GL_DRAW_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    if (!complete) {
        deleteStepBuffer();
        return false;
    }
    stepMultiple = multiple;
    return true;
}

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
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
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
    SDL_GL_SetSwapInterval(0);
    // A window of exactly 640 x 480 is drawn into directly; any other size
    // gets the 640 x 480 frame buffer, scaled into it when presenting. The
    // copy costs a software renderer as much as the frame itself.
    if (!drawableIsPictureSized()) {
        if (!createFramebuffer(error)) {
            closeDisplay();
            return false;
        }
        clearWindowBlack();
    }
    glViewport(0, 0, pictureWidth, pictureHeight);
    return true;
}

void closeDisplay()
{
    if (context) {
        if (frameBuffer) {
            fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
            deleteStepBuffer();
            fb.deleteFramebuffers(1, &frameBuffer);
            fb.deleteRenderbuffers(1, &colourBuffer);
            fb.deleteRenderbuffers(1, &depthBuffer);
        }
        frameBuffer = colourBuffer = depthBuffer = 0;
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

void presentDisplay()
{
    if (!window)
        return;
    if (!frameBuffer) {
        SDL_GL_SwapWindow(window);
        // A window manager may resize the window after it is shown: from then
        // on the picture goes through the frame buffer.
        std::string error;
        if (!drawableIsPictureSized() && createFramebuffer(&error))
            clearWindowBlack();
        return;
    }
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    const ScalePlan plan = planScaling(w, h, displaySettings.scale);
    const PixelRect r    = plan.picture;

    // The game never uses the scissor test, but a caller may have left it on;
    // it would clip the copies.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    if (scissor)
        glDisable(GL_SCISSOR_TEST);

    fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    fb.bindFramebuffer(GL_READ_FRAMEBUFFER, frameBuffer);
    // The bars are cleared every frame: after a swap the back buffer's
    // content is undefined.
    if (r.width != w || r.height != h)
        clearToBlack();
    if (plan.filtered && makeStepBuffer(plan.multiple)) {
        // Sharp bilinear: nearest pixels up to the whole multiple, so every
        // source pixel is equally wide, then filtered down to the fill size.
        const int sw = plan.multiple * pictureWidth, sh = plan.multiple * pictureHeight;
        fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, stepBuffer);
        fb.blitFramebuffer(0, 0, pictureWidth, pictureHeight, 0, 0, sw, sh, GL_COLOR_BUFFER_BIT,
                           GL_NEAREST);
        fb.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        fb.bindFramebuffer(GL_READ_FRAMEBUFFER, stepBuffer);
        fb.blitFramebuffer(0, 0, sw, sh, r.x, r.y, r.x + r.width, r.y + r.height,
                           GL_COLOR_BUFFER_BIT, GL_LINEAR);
    } else {
        fb.blitFramebuffer(0, 0, pictureWidth, pictureHeight, r.x, r.y, r.x + r.width,
                           r.y + r.height, GL_COLOR_BUFFER_BIT,
                           plan.filtered ? GL_LINEAR : GL_NEAREST);
    }
    SDL_GL_SwapWindow(window);
    fb.bindFramebuffer(GL_FRAMEBUFFER, frameBuffer);
    if (scissor)
        glEnable(GL_SCISSOR_TEST);
}

void readDisplayPixels(unsigned char* rgb)
{
    if (frameBuffer)
        fb.bindFramebuffer(GL_READ_FRAMEBUFFER, frameBuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, pictureWidth, pictureHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    // OpenGL's rows run bottom to top; pictures are stored top row first.
    const size_t  row = pictureWidth * 3;
    unsigned char tmp[pictureWidth * 3];
    for (int y = 0; y < pictureHeight / 2; ++y) {
        unsigned char* a = rgb + y * row;
        unsigned char* b = rgb + (pictureHeight - 1 - y) * row;
        std::memcpy(tmp, a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, tmp, row);
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
