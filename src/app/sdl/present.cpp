// Presenting on SDL2 and OpenGL: the game draws a 640 x 480 picture into an
// off-screen frame buffer, and each swap copies it, scaled, into the window.
#include "app/sdl/present.h"

#include "app/picture.h"
#include "gfx/gl.h"

#include <SDL2/SDL.h>

#include <cstdlib>

namespace {

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
ScaleMode        scaleMode    = ScaleMode::Auto;
FramebufferCalls fb           = {};
GLuint           frameBuffer  = 0;
GLuint           colourBuffer = 0;
GLuint           depthBuffer  = 0;

// Fill mode's intermediate picture, a whole multiple of 640 x 480.
GLuint stepBuffer   = 0;
GLuint stepColour   = 0;
int    stepMultiple = 0;

template <typename T> bool lookUp(T& fn, const char* name)
{
    fn = reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
    return fn != nullptr;
}

bool lookUpFramebufferCalls()
{
    // Frame buffer objects are core from OpenGL 3.0 and an extension before.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const bool  core    = version && std::atoi(version) >= 3;
    const bool  ok      = (core || SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object")) &&
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
    return ok;
}

void deleteFramebuffer(GLuint* buffer, GLuint* colour, GLuint* depth)
{
    if (*buffer)
        fb.deleteFramebuffers(1, buffer);
    if (*colour)
        fb.deleteRenderbuffers(1, colour);
    if (*depth)
        fb.deleteRenderbuffers(1, depth);
    *buffer = *colour = *depth = 0;
}

// The 640 x 480 picture with its depth buffer, bound for drawing. It is kept
// only once complete, so that a failed attempt leaves the window drawn into
// directly rather than from a broken buffer.
bool createFramebuffer(std::string* error)
{
    if (!lookUpFramebufferCalls()) {
        *error = "OpenGL frame buffer objects are not available";
        return false;
    }
    GLuint buffer = 0, colour = 0, depth = 0;
    fb.genRenderbuffers(1, &colour);
    fb.bindRenderbuffer(GL_RENDERBUFFER, colour);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, pictureWidth, pictureHeight);
    fb.genRenderbuffers(1, &depth);
    fb.bindRenderbuffer(GL_RENDERBUFFER, depth);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, pictureWidth, pictureHeight);
    fb.genFramebuffers(1, &buffer);
    fb.bindFramebuffer(GL_FRAMEBUFFER, buffer);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    if (fb.checkFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
        deleteFramebuffer(&buffer, &colour, &depth);
        *error = "cannot create the 640 x 480 frame buffer";
        return false;
    }
    frameBuffer  = buffer;
    colourBuffer = colour;
    depthBuffer  = depth;
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
    GLuint none = 0;
    deleteFramebuffer(&stepBuffer, &stepColour, &none);
    stepMultiple = 0;
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

} // namespace

bool startPresenting(SDL_Window* target, ScaleMode scale, std::string* error)
{
    window    = target;
    scaleMode = scale;
    // A window of exactly 640 x 480 is drawn into directly; any other size
    // gets the 640 x 480 frame buffer, scaled into it when presenting. The
    // copy costs a software renderer as much as the frame itself.
    if (!drawableIsPictureSized()) {
        if (!createFramebuffer(error))
            return false;
        clearWindowBlack();
    }
    return true;
}

void stopPresenting()
{
    if (frameBuffer) {
        fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
        deleteStepBuffer();
        deleteFramebuffer(&frameBuffer, &colourBuffer, &depthBuffer);
    }
    window = nullptr;
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
    const ScalePlan plan = planScaling(w, h, scaleMode);
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
