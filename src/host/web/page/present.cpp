// The page's present: one textured quad from the 640 x 480 frame buffer onto
// the canvas, through the fill's shader (fill_shader.h), the same text as
// natively. It samples where nearest pixels up to the next whole multiple,
// filtered back down, would have, so every source pixel is equally wide at
// any size; at a whole multiple that is nearest pixels.
#include "host/web/page/present.h"

#include "host/fill_shader.h"
#include "host/picture.h"
#include "host/scaling.h"
#include "host/web/gl/legacy_gl.h"
#include "host/web/gl/webgl.h"

#include <emscripten/html5.h>

#include <string>

namespace {

// `corner` runs 0..1 over the picture; `place` is in the enlarged picture's
// pixels, as the fill's shader takes it.
const char* const vertexShader = R"(
attribute vec2 corner;
uniform vec2 extent;
varying vec2 place;
void main()
{
    place       = corner * extent - 0.5;
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

GLuint program       = 0;
GLint  extentAt      = -1;
GLint  perMultipleAt = -1;
GLuint quad          = 0;
GLuint frameBuffer   = 0;
GLuint picture       = 0;

} // namespace

bool startPresenting(std::string* error)
{
    static const char* const attributes[] = {"corner"};
    const std::string fragmentShader = std::string("precision highp float;\n") + fillShaderBody;
    program = buildWebglProgram(vertexShader, fragmentShader.c_str(), attributes, 1);
    if (!program) {
        *error = "the picture's scaling shader does not compile on this browser";
        return false;
    }
    emscripten_glUseProgram(program);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "picture"), 0);
    emscripten_glUniform2f(emscripten_glGetUniformLocation(program, "size"), pictureWidth,
                           pictureHeight);
    extentAt      = emscripten_glGetUniformLocation(program, "extent");
    perMultipleAt = emscripten_glGetUniformLocation(program, "perMultiple");

    static const float corners[12] = {0, 0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 1};
    emscripten_glGenBuffers(1, &quad);
    emscripten_glBindBuffer(webglArrayBuffer, quad);
    emscripten_glBufferData(webglArrayBuffer, sizeof corners, corners, 0x88E4); // STATIC_DRAW

    emscripten_glGenTextures(1, &picture);
    emscripten_glBindTexture(GL_TEXTURE_2D, picture);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, pictureWidth, pictureHeight, 0, GL_RGBA,
                            GL_UNSIGNED_BYTE, nullptr);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, webglClampToEdge);
    emscripten_glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, webglClampToEdge);
    GLuint depth = 0;
    emscripten_glGenRenderbuffers(1, &depth);
    emscripten_glBindRenderbuffer(webglRenderbuffer, depth);
    emscripten_glRenderbufferStorage(webglRenderbuffer, webglDepthComponent16, pictureWidth,
                                     pictureHeight);
    emscripten_glGenFramebuffers(1, &frameBuffer);
    emscripten_glBindFramebuffer(webglFramebuffer, frameBuffer);
    emscripten_glFramebufferTexture2D(webglFramebuffer, webglColorAttachment0, GL_TEXTURE_2D,
                                      picture, 0);
    emscripten_glFramebufferRenderbuffer(webglFramebuffer, webglDepthAttachment, webglRenderbuffer,
                                         depth);
    if (emscripten_glCheckFramebufferStatus(webglFramebuffer) != webglFramebufferDone) {
        *error = "cannot create the 640 x 480 frame buffer";
        return false;
    }
    restoreLegacyGl();
    return true;
}

void presentPicture()
{
    flushLegacyGl();
    int width = 0, height = 0;
    emscripten_get_canvas_element_size("#canvas", &width, &height);
    if (width < 1 || height < 1)
        return;
    const ScalePlan plan = planScaling(width, height, ScaleMode::Auto);
    const PixelRect r    = plan.picture;

    emscripten_glBindFramebuffer(webglFramebuffer, 0);
    emscripten_glDisable(GL_SCISSOR_TEST);
    emscripten_glDisable(GL_BLEND);
    emscripten_glDisable(GL_DEPTH_TEST);
    emscripten_glViewport(0, 0, width, height);
    emscripten_glClearColor(0, 0, 0, 1);
    emscripten_glClear(GL_COLOR_BUFFER_BIT);
    emscripten_glViewport(r.x, r.y, r.width, r.height);
    emscripten_glUseProgram(program);
    emscripten_glUniform2f(extentAt, static_cast<float>(plan.multiple * pictureWidth),
                           static_cast<float>(plan.multiple * pictureHeight));
    emscripten_glUniform1f(perMultipleAt, 1.0f / static_cast<float>(plan.multiple));
    emscripten_glBindBuffer(webglArrayBuffer, quad);
    emscripten_glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    emscripten_glDisableVertexAttribArray(1);
    emscripten_glDisableVertexAttribArray(2);
    emscripten_glBindTexture(GL_TEXTURE_2D, picture);
    emscripten_glDrawArrays(GL_TRIANGLES, 0, 6);

    // Back to the game's frame buffer and drawing state.
    emscripten_glBindFramebuffer(webglFramebuffer, frameBuffer);
    restoreLegacyGl();
}
