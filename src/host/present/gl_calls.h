// OpenGL entry points beyond 1.1 that presenting uses, looked up at run time:
// frame buffer objects (3.0, or the ARB extension) and shaders (2.0).
#pragma once
#include "gfx/gl.h"

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
#ifndef GL_DRAW_FRAMEBUFFER_BINDING
#define GL_DRAW_FRAMEBUFFER_BINDING 0x8CA6
#endif
#ifndef GL_FRAGMENT_SHADER
#define GL_FRAGMENT_SHADER 0x8B30
#define GL_VERTEX_SHADER   0x8B31
#define GL_COMPILE_STATUS  0x8B81
#define GL_LINK_STATUS     0x8B82
#endif
#ifndef GL_TEXTURE1
#define GL_TEXTURE0 0x84C0
#define GL_TEXTURE1 0x84C1
#endif

struct GlCalls {
    // Frame buffer objects: all or none.
    void (*genFramebuffers)(GLsizei, GLuint*);
    void (*bindFramebuffer)(GLenum, GLuint);
    void (*genRenderbuffers)(GLsizei, GLuint*);
    void (*bindRenderbuffer)(GLenum, GLuint);
    void (*renderbufferStorage)(GLenum, GLenum, GLsizei, GLsizei);
    void (*framebufferRenderbuffer)(GLenum, GLenum, GLenum, GLuint);
    void (*framebufferTexture2D)(GLenum, GLenum, GLenum, GLuint, GLint);
    GLenum (*checkFramebufferStatus)(GLenum);
    void (*blitFramebuffer)(GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLint, GLbitfield,
                            GLenum);
    void (*deleteFramebuffers)(GLsizei, const GLuint*);
    void (*deleteRenderbuffers)(GLsizei, const GLuint*);
    void (*clearBuffer)(GLenum, GLint, const GLfloat*); // 3.0; null before, then glClear

    // Shaders: all or none (`shaders` says which).
    bool shaders;
    GLuint (*createShader)(GLenum);
    void (*shaderSource)(GLuint, GLsizei, const char* const*, const GLint*);
    void (*compileShader)(GLuint);
    void (*getShaderiv)(GLuint, GLenum, GLint*);
    GLuint (*createProgram)();
    void (*attachShader)(GLuint, GLuint);
    void (*linkProgram)(GLuint);
    void (*getProgramiv)(GLuint, GLenum, GLint*);
    void (*useProgram)(GLuint);
    GLint (*getUniformLocation)(GLuint, const char*);
    void (*uniform1i)(GLint, GLint);
    void (*uniform1f)(GLint, GLfloat);
    void (*uniform2f)(GLint, GLfloat, GLfloat);
    void (*deleteShader)(GLuint);
    void (*deleteProgram)(GLuint);
    void (*activeTexture)(GLenum);
};

extern GlCalls gl;

// The platform's lookup of an entry point in the current context; null when
// missing.
using GlProcLookup = void* (*)(const char* name);

// Looks the entry points up for the current context through `procAddress`:
// false when frame buffer objects are missing (shaders may be missing on
// their own).
bool lookUpGlCalls(GlProcLookup procAddress);
