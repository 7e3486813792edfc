// The one-pass sharp bilinear fill against the two copies it replaces, on
// Mesa, into frame buffers the size of common screens.
#include "app/picture.h"
#include "app/sdl/gl_calls.h"
#include "app/sdl/scaler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
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

TEST(SharpScaling, OnePassMatchesTheTwoCopiesAndKeepsTheGamesState)
{
    ASSERT_TRUE(lookUpGlCalls());
    ASSERT_TRUE(startScaler()) << "no shaders: the one-pass fill would never run";
    PictureBuffer source = {};
    ASSERT_TRUE(createPictureBuffer(&source, false));
    // The hardest picture for a filter: neighbours as different as can be,
    // with the ruler's one-pixel columns on the left half.
    std::vector<unsigned char> picture(pictureWidth * pictureHeight * 4);
    unsigned                   seed = 12345;
    for (int i = 0; i < pictureWidth * pictureHeight; ++i) {
        for (int c = 0; c < 3; ++c) {
            seed               = seed * 1103515245u + 12345u;
            picture[i * 4 + c] = static_cast<unsigned char>(seed >> 16);
        }
        if (i % pictureWidth < pictureWidth / 2)
            picture[i * 4] = picture[i * 4 + 1] = picture[i * 4 + 2] = i % 2 ? 0 : 255;
        picture[i * 4 + 3] = 255;
    }
    glBindTexture(GL_TEXTURE_2D, source.texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, pictureWidth, pictureHeight, GL_RGBA, GL_UNSIGNED_BYTE,
                    picture.data());
    glBindTexture(GL_TEXTURE_2D, 0);

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

} // namespace
