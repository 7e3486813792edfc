// Presenting on SDL2 and OpenGL: the game draws a 640 x 480 picture into an
// off-screen frame buffer, and each swap draws it, scaled, into the window.
#include "app/sdl/present.h"

#include "app/picture.h"
#include "app/sdl/gl_calls.h"
#include "app/sdl/scaler.h"
#include "gfx/gl.h"

#include <SDL2/SDL.h>

namespace {

SDL_Window*   window    = nullptr;
ScaleMode     scaleMode = ScaleMode::Auto;
PictureBuffer picture   = {}; // framebuffer 0: the game draws into the window

// The picture's frame buffer, bound for the game's drawing. Kept only once
// complete, so that a failed attempt leaves the window drawn into directly
// rather than from a broken buffer.
bool createFramebuffer(std::string* error)
{
    if (!lookUpGlCalls()) {
        *error = "OpenGL frame buffer objects are not available";
        return false;
    }
    if (!createPictureBuffer(&picture, true)) {
        *error = "cannot create the 640 x 480 frame buffer";
        return false;
    }
    startScaler();
    gl.bindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
    return true;
}

// Black for the whole window, both buffers, so the bars start black.
void clearWindowBlack()
{
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    for (int i = 0; i < 2; ++i) {
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
    }
    glClear(GL_COLOR_BUFFER_BIT);
    gl.bindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
}

bool drawableIsPictureSized()
{
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window, &w, &h);
    return w == pictureWidth && h == pictureHeight;
}

} // namespace

bool startPresenting(SDL_Window* target, ScaleMode scale, std::string* error)
{
    window    = target;
    scaleMode = scale;
    // A window of exactly 640 x 480 is drawn into directly; any other size
    // gets the 640 x 480 frame buffer, scaled into it when presenting.
    if (!drawableIsPictureSized()) {
        if (!createFramebuffer(error))
            return false;
        clearWindowBlack();
    }
    return true;
}

void stopPresenting()
{
    if (picture.framebuffer) {
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        stopScaler();
        deletePictureBuffer(&picture);
    }
    window = nullptr;
}

void presentDisplay()
{
    if (!window)
        return;
    if (!picture.framebuffer) {
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
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    scalePicture(picture, planScaling(w, h, scaleMode), w, h);
    SDL_GL_SwapWindow(window);
    gl.bindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
}
