// Scaling the finished picture into the bound draw frame buffer: nearest
// pixels, or sharp bilinear in one textured draw or two copies.
#include "host/present/scaler.h"

#include "host/fill_shader.h"
#include "host/picture.h"
#include "host/present/gl_calls.h"

#include <string>

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

// The one-pass sharp bilinear program: the fill's shader (fill_shader.h),
// with `place` interpolated from the corners.
const char* const fillVertexSource =
    "#version 110\n"
    "uniform vec2 extent;\n" // the enlarged picture's size, in its pixels
    "varying vec2 place;\n"
    "void main()\n"
    "{\n"
    "    gl_Position = gl_Vertex;\n"
    "    place = (gl_Vertex.xy * 0.5 + 0.5) * extent - 0.5;\n"
    "}\n";

namespace {

GLuint program            = 0;
GLint  extentUniform      = -1;
GLint  perMultipleUniform = -1;

// The two copies' intermediate picture, a whole multiple of 640 x 480.
GLuint stepBuffer   = 0;
GLuint stepColour   = 0;
int    stepMultiple = 0;

GLuint compile(GLenum type, const char* source)
{
    const GLuint shader = gl.createShader(type);
    gl.shaderSource(shader, 1, &source, nullptr);
    gl.compileShader(shader);
    GLint ok = 0;
    gl.getShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        gl.deleteShader(shader);
        return 0;
    }
    return shader;
}

void deleteStepBuffer()
{
    if (stepBuffer)
        gl.deleteFramebuffers(1, &stepBuffer);
    if (stepColour)
        gl.deleteRenderbuffers(1, &stepColour);
    stepBuffer = stepColour = 0;
    stepMultiple            = 0;
}

// The intermediate picture for a fill at this multiple; false when it cannot
// be had (the fill then filters straight from 640 x 480).
bool makeStepBuffer(int multiple)
{
    if (stepBuffer && stepMultiple == multiple)
        return true;
    deleteStepBuffer();
    gl.genRenderbuffers(1, &stepColour);
    gl.bindRenderbuffer(GL_RENDERBUFFER, stepColour);
    gl.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, multiple * pictureWidth,
                           multiple * pictureHeight);
    gl.genFramebuffers(1, &stepBuffer);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, stepBuffer);
    gl.framebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER,
                               stepColour);
    const bool complete = gl.checkFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!complete) {
        deleteStepBuffer();
        return false;
    }
    stepMultiple = multiple;
    return true;
}

// Black over the whole draw buffer, leaving the game's clear colour alone.
void clearToBlack()
{
    static const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    if (gl.clearBuffer) {
        gl.clearBuffer(GL_COLOR, 0, black);
        return;
    }
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glClearColor(black[0], black[1], black[2], black[3]);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(clear[0], clear[1], clear[2], clear[3]);
}

void blit(GLuint from, int fw, int fh, GLuint to, const PixelRect& r, GLenum filter)
{
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, from);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    gl.blitFramebuffer(0, 0, fw, fh, r.x, r.y, r.x + r.width, r.y + r.height, GL_COLOR_BUFFER_BIT,
                       filter);
}

void drawOnePass(const PictureBuffer& source, const ScalePlan& plan)
{
    const PixelRect& r = plan.picture;
    gl.activeTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, source.texture);
    gl.activeTexture(GL_TEXTURE0);
    glPushAttrib(GL_ENABLE_BIT | GL_VIEWPORT_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_STENCIL_TEST);
    glViewport(r.x, r.y, r.width, r.height);
    gl.useProgram(program);
    gl.uniform2f(extentUniform, static_cast<float>(plan.multiple * pictureWidth),
                 static_cast<float>(plan.multiple * pictureHeight));
    gl.uniform1f(perMultipleUniform, 1.0f / static_cast<float>(plan.multiple));
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    gl.useProgram(0);
    glPopAttrib();
}

} // namespace

bool createPictureBuffer(PictureBuffer* buffer, bool withDepth)
{
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    PictureBuffer b = {};
    glGenTextures(1, &b.texture);
    glBindTexture(GL_TEXTURE_2D, b.texture);
    // Linear: the one-pass fill samples between pixels; every other use of
    // the picture reads whole pixels.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, pictureWidth, pictureHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    gl.genFramebuffers(1, &b.framebuffer);
    gl.bindFramebuffer(GL_FRAMEBUFFER, b.framebuffer);
    gl.framebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, b.texture, 0);
    if (withDepth) {
        gl.genRenderbuffers(1, &b.depth);
        gl.bindRenderbuffer(GL_RENDERBUFFER, b.depth);
        gl.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, pictureWidth, pictureHeight);
        gl.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, b.depth);
    }
    const bool complete = gl.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!complete) {
        deletePictureBuffer(&b);
        return false;
    }
    *buffer = b;
    return true;
}

void deletePictureBuffer(PictureBuffer* buffer)
{
    if (buffer->framebuffer)
        gl.deleteFramebuffers(1, &buffer->framebuffer);
    if (buffer->texture)
        glDeleteTextures(1, &buffer->texture);
    if (buffer->depth)
        gl.deleteRenderbuffers(1, &buffer->depth);
    *buffer = PictureBuffer{};
}

void copyPicture(const PictureBuffer& from, const PictureBuffer& to)
{
    glPushAttrib(GL_SCISSOR_BIT); // whole, whatever a caller left on
    glDisable(GL_SCISSOR_TEST);
    blit(from.framebuffer, pictureWidth, pictureHeight, to.framebuffer,
         PixelRect{0, 0, pictureWidth, pictureHeight}, GL_NEAREST);
    glPopAttrib();
}

bool startScaler()
{
    stopScaler();
    if (!gl.shaders)
        return false;
    const std::string fragmentSource = std::string("#version 110\n") + fillShaderBody;
    const GLuint      vertex         = compile(GL_VERTEX_SHADER, fillVertexSource);
    const GLuint      fragment       = compile(GL_FRAGMENT_SHADER, fragmentSource.c_str());
    if (vertex && fragment) {
        program = gl.createProgram();
        gl.attachShader(program, vertex);
        gl.attachShader(program, fragment);
        gl.linkProgram(program);
        GLint linked = 0;
        gl.getProgramiv(program, GL_LINK_STATUS, &linked);
        if (!linked) {
            gl.deleteProgram(program);
            program = 0;
        }
    }
    if (vertex)
        gl.deleteShader(vertex);
    if (fragment)
        gl.deleteShader(fragment);
    if (!program)
        return false;
    extentUniform      = gl.getUniformLocation(program, "extent");
    perMultipleUniform = gl.getUniformLocation(program, "perMultiple");
    gl.useProgram(program);
    gl.uniform1i(gl.getUniformLocation(program, "picture"), 1); // texture unit 1
    gl.uniform2f(gl.getUniformLocation(program, "size"), static_cast<float>(pictureWidth),
                 static_cast<float>(pictureHeight));
    gl.useProgram(0);
    return true;
}

void stopScaler()
{
    if (program)
        gl.deleteProgram(program);
    program = 0;
    deleteStepBuffer();
}

void scalePicture(const PictureBuffer& source, const ScalePlan& plan, int width, int height,
                  SharpMethod method, int firstRow, int rows)
{
    GLint target = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &target);
    const GLuint     to = static_cast<GLuint>(target);
    const PixelRect& r  = plan.picture;
    if (rows < 0 || firstRow + rows > r.height)
        rows = r.height - firstRow;
    // The game never uses the scissor test, but a caller may have left it on;
    // it would clip the copies. Here it marks out the band of rows drawn.
    glPushAttrib(GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    // The bars are cleared with the first band of every picture: after a
    // swap the back buffer's content is undefined.
    if (firstRow == 0 && (r.width != width || r.height != height))
        clearToBlack();
    const bool band       = firstRow > 0 || rows < r.height;
    const auto clipToBand = [&] {
        if (!band)
            return;
        glScissor(r.x, r.y + firstRow, r.width, rows);
        glEnable(GL_SCISSOR_TEST);
    };
    if (!plan.filtered) {
        clipToBand();
        blit(source.framebuffer, pictureWidth, pictureHeight, to, r, GL_NEAREST);
    } else if (method == SharpMethod::OnePass && program) {
        clipToBand();
        drawOnePass(source, plan);
    } else if (makeStepBuffer(plan.multiple)) {
        const PixelRect step = {0, 0, plan.multiple * pictureWidth, plan.multiple * pictureHeight};
        blit(source.framebuffer, pictureWidth, pictureHeight, stepBuffer, step, GL_NEAREST);
        clipToBand();
        blit(stepBuffer, step.width, step.height, to, r, GL_LINEAR);
    } else {
        clipToBand();
        blit(source.framebuffer, pictureWidth, pictureHeight, to, r, GL_LINEAR);
    }
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, source.framebuffer);
    glPopAttrib();
}
