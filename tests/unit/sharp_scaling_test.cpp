// The one-pass sharp bilinear fill against the two copies it replaces, and
// its shader (the browser's too) against a GPU's rounding, on Mesa, into
// frame buffers the size of common screens; and a picture presented in bands
// against the same picture presented whole.
#include "host/fill_shader.h"
#include "host/picture.h"
#include "host/present/scaler.h"
#include "host/sdl/gl_calls.h"
#include "host/sdl/present.h"
#include "host/sdl/window.h"
#include "system/frame_clock.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Target {
    GLuint framebuffer = 0, colour = 0;
    Target(int w, int h)
    {
        gl.genRenderbuffers(1, &colour);
        gl.bindRenderbuffer(GL_RENDERBUFFER, colour);
        gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        gl.genFramebuffers(1, &framebuffer);
        gl.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    }
    ~Target()
    {
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        gl.deleteFramebuffers(1, &framebuffer);
        gl.deleteRenderbuffers(1, &colour);
    }
};

std::vector<unsigned char> scaled(const PictureBuffer& source, const Target& target, int w, int h,
                                  SharpMethod method)
{
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, target.framebuffer);
    scalePicture(source, planScaling(w, h, ScaleMode::Fill), w, h, method);
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, target.framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The hardest picture for a filter: neighbours as different as can be, with
// the ruler's one-pixel columns on the left half.
void fillWithNoise(const PictureBuffer& buffer, unsigned seed)
{
    std::vector<unsigned char> picture(pictureWidth * pictureHeight * 4);
    for (int i = 0; i < pictureWidth * pictureHeight; ++i) {
        for (int c = 0; c < 3; ++c) {
            seed               = seed * 1103515245u + 12345u;
            picture[i * 4 + c] = static_cast<unsigned char>(seed >> 16);
        }
        if (i % pictureWidth < pictureWidth / 2)
            picture[i * 4] = picture[i * 4 + 1] = picture[i * 4 + 2] = i % 2 ? 0 : 255;
        picture[i * 4 + 3] = 255;
    }
    glBindTexture(GL_TEXTURE_2D, buffer.texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, pictureWidth, pictureHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                    picture.data());
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST(SharpScaling, OnePassMatchesTheTwoCopiesAndKeepsTheGamesState)
{
    ASSERT_TRUE(lookUpGlCalls());
    ASSERT_TRUE(startScaler()) << "no shaders: the one-pass fill would never run";
    PictureBuffer source = {};
    ASSERT_TRUE(createPictureBuffer(&source, false));
    fillWithNoise(source, 12345);

    glViewport(0, 0, pictureWidth, pictureHeight);
    glEnable(GL_BLEND);
    const int sizes[][2] = {{1366, 768}, {1920, 1080}, {1440, 900},
                            {800, 600},  {1600, 900},  {2560, 1600}};
    for (const auto& size : sizes) {
        const int w = size[0], h = size[1];
        ASSERT_TRUE(planScaling(w, h, ScaleMode::Fill).filtered) << w << "x" << h;
        Target     target(w, h);
        const auto two     = scaled(source, target, w, h, SharpMethod::TwoCopies);
        const auto one     = scaled(source, target, w, h, SharpMethod::OnePass);
        int        most[3] = {0, 0, 0};
        for (size_t i = 0; i < one.size(); ++i)
            if (i % 4 < 3)
                most[i % 4] = std::max(most[i % 4], std::abs(one[i] - two[i]));
        std::printf("fill at %dx%d: one pass against two copies differs by at most %d/%d/%d\n", w,
                    h, most[0], most[1], most[2]);
        EXPECT_LE(std::max({most[0], most[1], most[2]}), 2) << w << "x" << h;
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[2] == pictureWidth && viewport[3] == pictureHeight &&
                glIsEnabled(GL_BLEND))
        << "the present changed the game's drawing state";
    glDisable(GL_BLEND);
    stopScaler();
    deletePictureBuffer(&source);
}

// The window's pixels, read back.
std::vector<unsigned char> windowPixels(int w, int h)
{
    GLint bound = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &bound);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    std::vector<unsigned char> pixels(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(bound));
    return pixels;
}

// Fills the window with magenta, so that a picture read back is what the
// presents since have drawn. (The offscreen driver's windows ignore the
// bars' glClearBuffer: they stay magenta, whole or in bands alike.)
void wipeWindow()
{
    GLint   bound = 0;
    GLfloat clear[4];
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
    gl.bindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
}

// One frame: the game draws `picture` into the frame buffer bound for it,
// and presents.
void drawAndPresent(const PictureBuffer& picture)
{
    GLint bound = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    copyPicture(picture, PictureBuffer{static_cast<GLuint>(bound), 0, 0});
    gl.bindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(bound));
    presentDisplay();
}

TEST(SharpScaling, APicturePresentedInBandsIsThePicturePresentedWhole)
{
    // A window of a common screen's size on the tests' context, the frame
    // clock at rest so that every present has the whole 10 ms frame.
    SDL_Window* const   tests   = SDL_GL_GetCurrentWindow();
    const SDL_GLContext context = SDL_GL_GetCurrentContext();
    const int           w = 1366, h = 768;
    SDL_Window*         screen =
        SDL_CreateWindow("bands", 0, 0, w, h, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_TRUE(screen && SDL_GL_MakeCurrent(screen, context) == 0) << SDL_GetError();
    const FrameClock clock = frameClock;
    const float      start = frameStart;
    frameClock             = FrameClock{};
    frameStart             = 0.0f;
    ASSERT_TRUE(lookUpGlCalls());
    PictureBuffer first = {}, next = {};
    ASSERT_TRUE(createPictureBuffer(&first, false) && createPictureBuffer(&next, false));
    fillWithNoise(first, 1);
    fillWithNoise(next, 2);
    stopPresenting();
    std::string error;
    ASSERT_TRUE(startPresenting(screen, ScaleMode::Fill, &error)) << error;

    // Nothing measured yet: drawn whole and swapped in its frame.
    wipeWindow();
    long shown = picturesShown;
    drawAndPresent(first);
    ASSERT_EQ(picturesShown, shown + 1);
    const auto whole = windowPixels(w, h);

    // The window wiped, and rows that cost 23 ms a picture: bands over three
    // frames, while the game draws the next picture.
    wipeWindow();
    presentBudget.pictureDue = true;
    shown                    = picturesShown;
    int frames               = 0;
    for (const PictureBuffer* picture = &first; picturesShown == shown && frames < 10;
         picture                      = &next, ++frames) {
        presentBudget.row  = PresentCost{0.03, 0.0};
        presentBudget.swap = PresentCost{0.5, 0.0};
        drawAndPresent(*picture);
    }
    EXPECT_EQ(frames, 3);
    EXPECT_TRUE(windowPixels(w, h) == whole) << "the bands do not make the first picture";

    deletePictureBuffer(&first);
    deletePictureBuffer(&next);
    stopPresenting();
    SDL_GL_MakeCurrent(tests, context);
    SDL_DestroyWindow(screen);
    ASSERT_TRUE(startPresenting(tests, displaySettings.scale, &error)) << error;
    frameClock = clock;
    frameStart = start;
}

// The fill's shader, the one text of both hosts, finds each enlarged pixel's
// picture pixel even where 1 / multiple comes out a little low, as a GPU's
// division may (GLSL allows it 2.5 units in the last place): every source
// edge is a whole number of enlarged pixels, where floor() is on the brink.
// With the reciprocal 3 units low, the picture is the exact reciprocal's.
TEST(SharpScaling, FillShaderStandsAReciprocalALittleLow)
{
    ASSERT_TRUE(lookUpGlCalls());
    const std::string fragmentSource = std::string("#version 110\n") + fillShaderBody;
    const GLuint      program        = gl.createProgram();
    for (const auto& [type, source] : {std::pair{GL_VERTEX_SHADER, fillVertexSource},
                                       std::pair{GL_FRAGMENT_SHADER, fragmentSource.c_str()}}) {
        const GLuint shader = gl.createShader(type);
        gl.shaderSource(shader, 1, &source, nullptr);
        gl.compileShader(shader);
        gl.attachShader(program, shader);
        gl.deleteShader(shader);
    }
    gl.linkProgram(program);
    GLint linked = 0;
    gl.getProgramiv(program, GL_LINK_STATUS, &linked);
    ASSERT_TRUE(linked);
    PictureBuffer source = {};
    ASSERT_TRUE(createPictureBuffer(&source, false));
    fillWithNoise(source, 12345);
    glPushAttrib(GL_VIEWPORT_BIT);
    glBindTexture(GL_TEXTURE_2D, source.texture);
    gl.useProgram(program);
    gl.uniform1i(gl.getUniformLocation(program, "picture"), 0);
    gl.uniform2f(gl.getUniformLocation(program, "size"), pictureWidth, pictureHeight);

    const int sizes[][2] = {{1366, 768}, {1920, 1080}, {2560, 1600}};
    for (const auto& size : sizes) {
        const ScalePlan plan = planScaling(size[0], size[1], ScaleMode::Fill);
        const PixelRect r    = plan.picture;
        Target          target(r.width, r.height);
        glViewport(0, 0, r.width, r.height);
        gl.uniform2f(gl.getUniformLocation(program, "extent"), plan.multiple * pictureWidth,
                     plan.multiple * pictureHeight);
        const auto drawn = [&](float perMultiple) {
            gl.uniform1f(gl.getUniformLocation(program, "perMultiple"), perMultiple);
            glBegin(GL_QUADS);
            glVertex2f(-1.0f, -1.0f);
            glVertex2f(1.0f, -1.0f);
            glVertex2f(1.0f, 1.0f);
            glVertex2f(-1.0f, 1.0f);
            glEnd();
            std::vector<unsigned char> pixels(static_cast<size_t>(r.width) * r.height * 4);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, r.width, r.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
            return pixels;
        };
        const float exact = 1.0f / static_cast<float>(plan.multiple);
        float       low   = exact;
        for (int ulp = 0; ulp < 3; ++ulp)
            low = std::nextafter(low, 0.0f);
        const auto wanted = drawn(exact), got = drawn(low);
        size_t     differing = 0;
        for (size_t i = 0; i < wanted.size(); ++i)
            differing += wanted[i] != got[i];
        EXPECT_EQ(differing, 0u) << "bytes differing at " << size[0] << "x" << size[1];
    }
    gl.useProgram(0);
    gl.deleteProgram(program);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopAttrib();
    deletePictureBuffer(&source);
}

} // namespace
