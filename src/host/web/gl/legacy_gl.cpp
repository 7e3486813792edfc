// The OpenGL 1.1 and GLU subset the game uses, over WebGL 2. Immediate mode
// and matrices are kept here: each vertex is transformed as it is given and
// joins a batch of triangles or lines, which is drawn when the drawing state
// changes (a texture, a capability, a clear, a read). One small shader does
// the fixed pipeline's work: the vertex colour, times the texel when
// texturing is on. Textures are kept with their last picture, and display
// lists are kept here anyway, so that all can be made again when the browser
// gives back a lost context.
#include "host/web/gl/legacy_gl.h"

#include "host/picture.h"
#include "host/web/gl/matrix.h"
#include "host/web/gl/webgl.h"

#include <GL/glu.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <vector>

namespace {

struct Vertex {
    float position[4]; // clip space
    float texCoord[2];
    float colour[4];
};

// A recorded call of a display list: the font's glyphs use these alone.
struct ListCall {
    enum Kind { Begin, End, Vertex3, TexCoord, Colour, Translate } kind;
    double a, b, c, d;
};

// A texture under the game's name: WebGL's name for it in the current
// context, its parameters, and its last upload with the pixels it was given.
struct Texture {
    GLuint                                webglName;
    std::vector<std::pair<GLenum, GLint>> parameters;
    bool                                  hasImage;
    GLint                                 internalFormat;
    GLsizei                               width, height;
    GLenum                                format, type;
    GLint                                 unpackAlignment;
    std::vector<unsigned char>            pixels; // empty: uploaded without pixels
};

const char* const vertexShader = R"(
attribute vec4 position;
attribute vec2 texCoord;
attribute vec4 colour;
varying vec2 vTexCoord;
varying vec4 vColour;
void main()
{
    gl_Position = position;
    vTexCoord   = texCoord;
    vColour     = colour;
}
)";

const char* const fragmentShader = R"(
precision highp float;
uniform sampler2D picture;
uniform float textured;
varying vec2 vTexCoord;
varying vec4 vColour;
void main()
{
    vec4 colour = vColour;
    if (textured > 0.5)
        colour *= texture2D(picture, vTexCoord);
    gl_FragColor = colour;
}
)";

GLuint program         = 0;
GLuint vertexBuffer    = 0;
GLint  texturedUniform = -1;

// The drawing state as the game set it.
GLenum              matrixMode      = GL_MODELVIEW;
std::vector<Matrix> modelview       = {Matrix::identity()};
std::vector<Matrix> projection      = {Matrix::identity()};
Matrix              combined        = Matrix::identity();
bool                combinedStale   = false;
float               colour[4]       = {1, 1, 1, 1};
float               texCoord[2]     = {0, 0};
bool                texturing       = false;
bool                blending        = false;
bool                scissoring      = false;
bool                depthTesting    = false;
GLuint              boundTexture    = 0; // the game's name
GLint               packAlignment   = 4;
GLint               unpackAlignment = 4;
// The game draws into a picture-sized buffer, so that is where they start.
GLint   viewport[4]    = {0, 0, pictureWidth, pictureHeight};
GLint   scissorBox[4]  = {0, 0, pictureWidth, pictureHeight};
GLfloat clearColour[4] = {0, 0, 0, 0};
GLfloat clearDepth     = 1.0f;
GLenum  blendSource    = GL_ONE;
GLenum  blendTarget    = GL_ZERO;

// The primitive being given between glBegin and glEnd.
GLenum              primitive = 0; // 0: none
std::vector<Vertex> pending;

// The batch: triangles or lines, all drawn with the same state.
GLenum              batchMode = GL_TRIANGLES;
std::vector<Vertex> batch;

// Textures by the game's name.
std::map<GLuint, Texture> textures;
GLuint                    nextTexture = 1;

// Display lists.
std::map<GLuint, std::vector<ListCall>> lists;
GLuint                                  nextList  = 1;
GLuint                                  listBase  = 0;
GLuint                                  recording = 0; // the list being recorded, or 0

float clamp01(double v) { return static_cast<float>(std::min(1.0, std::max(0.0, v))); }

Matrix& current() { return matrixMode == GL_PROJECTION ? projection.back() : modelview.back(); }

void matrixChanged() { combinedStale = true; }

bool boundHasImage()
{
    const auto found = textures.find(boundTexture);
    return found != textures.end() && found->second.hasImage;
}

GLuint webglTexture(GLuint name)
{
    const auto found = textures.find(name);
    return found == textures.end() ? 0 : found->second.webglName;
}

// The bytes an upload reads: rows padded to the alignment, the last one not.
size_t uploadBytes(GLsizei width, GLsizei height, GLenum format, GLenum type, GLint alignment)
{
    const size_t channels = format == GL_RGBA ? 4 : format == GL_RGB ? 3 : 0;
    if (type != GL_UNSIGNED_BYTE || channels == 0 || width <= 0 || height <= 0)
        return 0; // not one the game makes: kept without its pixels
    const size_t align = static_cast<size_t>(std::max(1, alignment));
    const size_t row   = size_t(width) * channels;
    return (row + align - 1) / align * align * size_t(height - 1) + row;
}

// Makes a kept texture in the current context, bound.
void makeTexture(Texture& texture)
{
    emscripten_glGenTextures(1, &texture.webglName);
    emscripten_glBindTexture(GL_TEXTURE_2D, texture.webglName);
    for (const auto& parameter : texture.parameters)
        emscripten_glTexParameteri(GL_TEXTURE_2D, parameter.first, parameter.second);
    if (!texture.hasImage)
        return;
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, texture.unpackAlignment);
    emscripten_glTexImage2D(GL_TEXTURE_2D, 0, texture.internalFormat, texture.width, texture.height,
                            0, texture.format, texture.type,
                            texture.pixels.empty() ? nullptr : texture.pixels.data());
}

void setState()
{
    emscripten_glUseProgram(program);
    emscripten_glUniform1f(texturedUniform, texturing && boundHasImage() ? 1.0f : 0.0f);
}

void drawBatch()
{
    if (batch.empty())
        return;
    setState();
    emscripten_glBufferData(webglArrayBuffer, static_cast<long>(batch.size() * sizeof(Vertex)),
                            batch.data(), webglStreamDraw);
    emscripten_glDrawArrays(batchMode, 0, static_cast<GLsizei>(batch.size()));
    batch.clear();
}

void addToBatch(GLenum mode, const Vertex* vertices, size_t count)
{
    if (mode != batchMode)
        drawBatch();
    batchMode = mode;
    batch.insert(batch.end(), vertices, vertices + count);
}

void emitVertex(double x, double y, double z)
{
    if (combinedStale) {
        combined      = projection.back() * modelview.back();
        combinedStale = false;
    }
    Vertex v = {};
    combined.apply(x, y, z, v.position);
    v.texCoord[0] = texCoord[0];
    v.texCoord[1] = texCoord[1];
    std::copy(colour, colour + 4, v.colour);
    pending.push_back(v);
    if (primitive == GL_QUADS && pending.size() == 4) {
        const Vertex triangles[6] = {pending[0], pending[1], pending[2],
                                     pending[0], pending[2], pending[3]};
        addToBatch(GL_TRIANGLES, triangles, 6);
        pending.clear();
    } else if (primitive == GL_LINES && pending.size() == 2) {
        addToBatch(GL_LINES, pending.data(), 2);
        pending.clear();
    } else if (primitive == GL_TRIANGLES && pending.size() == 3) {
        addToBatch(GL_TRIANGLES, pending.data(), 3);
        pending.clear();
    }
}

bool record(ListCall::Kind kind, double a = 0, double b = 0, double c = 0, double d = 0)
{
    if (!recording)
        return false;
    lists[recording].push_back({kind, a, b, c, d});
    return true;
}

void setCapability(GLenum cap, bool on)
{
    drawBatch();
    switch (cap) {
    case GL_TEXTURE_2D: texturing = on; return;
    case GL_BLEND: blending = on; break;
    case GL_SCISSOR_TEST: scissoring = on; break;
    case GL_DEPTH_TEST: depthTesting = on; break;
    default: return; // nothing else is used
    }
    if (on)
        emscripten_glEnable(cap);
    else
        emscripten_glDisable(cap);
}

} // namespace

GLuint buildWebglProgram(const char* vertexSource, const char* fragmentSource,
                         const char* const* attributes, int attributeCount)
{
    const GLuint shaders[2] = {emscripten_glCreateShader(webglVertexShader),
                               emscripten_glCreateShader(webglFragmentShader)};
    const char*  sources[2] = {vertexSource, fragmentSource};
    const GLuint built      = emscripten_glCreateProgram();
    for (int i = 0; i < 2; ++i) {
        emscripten_glShaderSource(shaders[i], 1, &sources[i], nullptr);
        emscripten_glCompileShader(shaders[i]);
        GLint ok = 0;
        emscripten_glGetShaderiv(shaders[i], webglCompileStatus, &ok);
        if (!ok)
            return 0;
        emscripten_glAttachShader(built, shaders[i]);
    }
    for (int i = 0; i < attributeCount; ++i)
        emscripten_glBindAttribLocation(built, static_cast<GLuint>(i), attributes[i]);
    emscripten_glLinkProgram(built);
    GLint linked = 0;
    emscripten_glGetProgramiv(built, webglLinkStatus, &linked);
    return linked ? built : 0;
}

bool startLegacyGl()
{
    batch.clear(); // drawn into a context that is gone, if any
    static const char* const attributes[] = {"position", "texCoord", "colour"};
    program = buildWebglProgram(vertexShader, fragmentShader, attributes, 3);
    if (!program)
        return false;
    texturedUniform = emscripten_glGetUniformLocation(program, "textured");
    emscripten_glUseProgram(program);
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "picture"), 0);
    emscripten_glGenBuffers(1, &vertexBuffer);
    for (auto& texture : textures)
        makeTexture(texture.second);
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    restoreLegacyGl();
    return true;
}

void flushLegacyGl() { drawBatch(); }

void restoreLegacyGl()
{
    emscripten_glUseProgram(program);
    emscripten_glBindBuffer(webglArrayBuffer, vertexBuffer);
    const GLsizei stride = sizeof(Vertex);
    emscripten_glEnableVertexAttribArray(0);
    emscripten_glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, position)));
    emscripten_glEnableVertexAttribArray(1);
    emscripten_glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, texCoord)));
    emscripten_glEnableVertexAttribArray(2);
    emscripten_glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride,
                                     reinterpret_cast<void*>(offsetof(Vertex, colour)));
    emscripten_glActiveTexture(webglTexture0);
    emscripten_glBindTexture(GL_TEXTURE_2D, webglTexture(boundTexture));
    emscripten_glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    emscripten_glScissor(scissorBox[0], scissorBox[1], scissorBox[2], scissorBox[3]);
    (scissoring ? emscripten_glEnable : emscripten_glDisable)(GL_SCISSOR_TEST);
    (blending ? emscripten_glEnable : emscripten_glDisable)(GL_BLEND);
    (depthTesting ? emscripten_glEnable : emscripten_glDisable)(GL_DEPTH_TEST);
    emscripten_glBlendFunc(blendSource, blendTarget);
    emscripten_glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    emscripten_glClearDepthf(clearDepth);
}

extern "C" {

// --- Matrices ---

void glMatrixMode(GLenum mode) { matrixMode = mode; }

void glLoadIdentity()
{
    current() = Matrix::identity();
    matrixChanged();
}

void glPushMatrix()
{
    auto& stack = matrixMode == GL_PROJECTION ? projection : modelview;
    stack.push_back(stack.back());
}

void glPopMatrix()
{
    auto& stack = matrixMode == GL_PROJECTION ? projection : modelview;
    if (stack.size() > 1)
        stack.pop_back();
    matrixChanged();
}

void glTranslated(GLdouble x, GLdouble y, GLdouble z)
{
    if (record(ListCall::Translate, x, y, z))
        return;
    current() = current() * Matrix::translation(x, y, z);
    matrixChanged();
}

void glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    current() = current() * Matrix::scaling(x, y, z);
    matrixChanged();
}

void glRotated(GLdouble angle, GLdouble x, GLdouble y, GLdouble z)
{
    current() = current() * Matrix::rotation(angle, x, y, z);
    matrixChanged();
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar)
{
    current() = current() * Matrix::perspective(fovy, aspect, zNear, zFar);
    matrixChanged();
}

void gluOrtho2D(GLdouble left, GLdouble right, GLdouble bottom, GLdouble top)
{
    current() = current() * Matrix::orthographic(left, right, bottom, top, -1.0, 1.0);
    matrixChanged();
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    drawBatch();
    viewport[0] = x;
    viewport[1] = y;
    viewport[2] = width;
    viewport[3] = height;
    emscripten_glViewport(x, y, width, height);
}

// --- Immediate mode ---

void glBegin(GLenum mode)
{
    if (record(ListCall::Begin, mode))
        return;
    primitive = mode;
    pending.clear();
}

void glEnd()
{
    if (record(ListCall::End))
        return;
    primitive = 0;
    pending.clear();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    if (!record(ListCall::Vertex3, x, y, z))
        emitVertex(x, y, z);
}

void glVertex2i(GLint x, GLint y)
{
    if (!record(ListCall::Vertex3, x, y, 0))
        emitVertex(x, y, 0);
}

void glTexCoord2d(GLdouble s, GLdouble t)
{
    if (record(ListCall::TexCoord, s, t))
        return;
    texCoord[0] = static_cast<float>(s);
    texCoord[1] = static_cast<float>(t);
}

void glTexCoord2f(GLfloat s, GLfloat t) { glTexCoord2d(s, t); }

void glColor4d(GLdouble r, GLdouble g, GLdouble b, GLdouble a)
{
    if (record(ListCall::Colour, r, g, b, a))
        return;
    colour[0] = clamp01(r);
    colour[1] = clamp01(g);
    colour[2] = clamp01(b);
    colour[3] = clamp01(a);
}

void glColor3d(GLdouble r, GLdouble g, GLdouble b) { glColor4d(r, g, b, 1.0); }
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { glColor4d(r, g, b, a); }

// --- Display lists ---

GLuint glGenLists(GLsizei range)
{
    const GLuint first = nextList;
    nextList += static_cast<GLuint>(range);
    return first;
}

void glNewList(GLuint list, GLenum)
{
    lists[list].clear();
    recording = list;
}

void glEndList() { recording = 0; }

void glListBase(GLuint base) { listBase = base; }

void glDeleteLists(GLuint list, GLsizei range)
{
    for (GLsizei i = 0; i < range; ++i)
        lists.erase(list + static_cast<GLuint>(i));
}

void glCallLists(GLsizei n, GLenum type, const GLvoid* names)
{
    if (type != GL_UNSIGNED_BYTE)
        return; // the font's texts are bytes
    const unsigned char* bytes = static_cast<const unsigned char*>(names);
    for (GLsizei i = 0; i < n; ++i) {
        const auto found = lists.find(listBase + bytes[i]);
        if (found == lists.end())
            continue;
        for (const ListCall& call : found->second) {
            switch (call.kind) {
            case ListCall::Begin: glBegin(static_cast<GLenum>(call.a)); break;
            case ListCall::End: glEnd(); break;
            case ListCall::Vertex3: emitVertex(call.a, call.b, call.c); break;
            case ListCall::TexCoord: glTexCoord2d(call.a, call.b); break;
            case ListCall::Colour: glColor4d(call.a, call.b, call.c, call.d); break;
            case ListCall::Translate: glTranslated(call.a, call.b, call.c); break;
            }
        }
    }
}

// --- Textures ---

// The game's names are the layer's own, so that they stay when WebGL's
// change with a new context.
void glGenTextures(GLsizei n, GLuint* names)
{
    for (GLsizei i = 0; i < n; ++i) {
        names[i]         = nextTexture++;
        Texture& texture = textures[names[i]];
        emscripten_glGenTextures(1, &texture.webglName);
    }
}

void glDeleteTextures(GLsizei n, const GLuint* names)
{
    drawBatch();
    for (GLsizei i = 0; i < n; ++i) {
        const auto found = textures.find(names[i]);
        if (found == textures.end())
            continue;
        emscripten_glDeleteTextures(1, &found->second.webglName);
        textures.erase(found);
        if (boundTexture == names[i])
            boundTexture = 0;
    }
}

void glBindTexture(GLenum target, GLuint name)
{
    if (name == boundTexture)
        return;
    drawBatch();
    boundTexture = name;
    if (name != 0 && !textures.count(name)) // a name first used here is made here
        emscripten_glGenTextures(1, &textures[name].webglName);
    emscripten_glBindTexture(target, webglTexture(name));
}

void glTexParameterf(GLenum target, GLenum name, GLfloat value)
{
    drawBatch();
    const GLint set = static_cast<GLint>(value);
    emscripten_glTexParameteri(target, name, set);
    if (boundTexture == 0)
        return;
    auto&      parameters = textures[boundTexture].parameters;
    const auto found      = std::find_if(parameters.begin(), parameters.end(),
                                         [name](const auto& kept) { return kept.first == name; });
    if (found != parameters.end())
        found->second = set;
    else
        parameters.emplace_back(name, set);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels)
{
    drawBatch();
    emscripten_glTexImage2D(target, level, internalFormat, width, height, border, format, type,
                            pixels);
    if (boundTexture == 0 || level != 0)
        return;
    Texture& texture        = textures[boundTexture];
    texture.hasImage        = true;
    texture.internalFormat  = internalFormat;
    texture.width           = width;
    texture.height          = height;
    texture.format          = format;
    texture.type            = type;
    texture.unpackAlignment = unpackAlignment;
    const auto* bytes       = static_cast<const unsigned char*>(pixels);
    texture.pixels.assign(
        bytes, bytes ? bytes + uploadBytes(width, height, format, type, unpackAlignment) : bytes);
}

// --- Capabilities and the rest of the state ---

void glEnable(GLenum cap) { setCapability(cap, true); }
void glDisable(GLenum cap) { setCapability(cap, false); }

GLboolean glIsEnabled(GLenum cap)
{
    switch (cap) {
    case GL_TEXTURE_2D: return texturing;
    case GL_BLEND: return blending;
    case GL_SCISSOR_TEST: return scissoring;
    case GL_DEPTH_TEST: return depthTesting;
    default: return GL_FALSE;
    }
}

void glBlendFunc(GLenum source, GLenum target)
{
    drawBatch();
    blendSource = source;
    blendTarget = target;
    emscripten_glBlendFunc(source, target);
}

void glShadeModel(GLenum) {} // smooth, the only model the game uses

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height)
{
    drawBatch();
    scissorBox[0] = x;
    scissorBox[1] = y;
    scissorBox[2] = width;
    scissorBox[3] = height;
    emscripten_glScissor(x, y, width, height);
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a)
{
    clearColour[0] = r;
    clearColour[1] = g;
    clearColour[2] = b;
    clearColour[3] = a;
    emscripten_glClearColor(r, g, b, a);
}

void glClearDepth(GLclampd depth)
{
    clearDepth = static_cast<GLfloat>(depth);
    emscripten_glClearDepthf(clearDepth);
}

void glClear(GLbitfield mask)
{
    drawBatch();
    emscripten_glClear(mask);
}

void glGetIntegerv(GLenum name, GLint* value) { emscripten_glGetIntegerv(name, value); }

void glPixelStorei(GLenum name, GLint value)
{
    if (name == GL_PACK_ALIGNMENT) {
        packAlignment = value;
        return;
    }
    if (name == GL_UNPACK_ALIGNMENT)
        unpackAlignment = value;
    emscripten_glPixelStorei(name, value);
}

// WebGL reads only RGBA; RGB is packed from it, rows padded to the alignment.
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels)
{
    drawBatch();
    std::vector<unsigned char> rgba(size_t(width) * size_t(height) * 4);
    emscripten_glPixelStorei(GL_PACK_ALIGNMENT, 4);
    emscripten_glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    const size_t   channels = format == GL_RGB ? 3 : 4;
    const size_t   align    = static_cast<size_t>(std::max(1, packAlignment));
    const size_t   row      = (size_t(width) * channels + align - 1) / align * align;
    unsigned char* out      = static_cast<unsigned char*>(pixels);
    (void)type; // unsigned bytes, as the tools read them
    for (GLsizei r = 0; r < height; ++r)
        for (GLsizei c = 0; c < width; ++c)
            std::copy_n(&rgba[(size_t(r) * size_t(width) + size_t(c)) * 4], channels,
                        out + size_t(r) * row + size_t(c) * channels);
}

void glFlush()
{
    drawBatch();
    emscripten_glFlush();
}

} // extern "C"
