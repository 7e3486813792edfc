// The WebGL 2 calls the browser's OpenGL layer and present make, by the names
// Emscripten gives them beside the standard ones, so that our own OpenGL 1.1
// functions (glEnable, glClear, ...) can take the standard names.
#pragma once
#include <GL/gl.h>

extern "C" {
void   emscripten_glActiveTexture(GLenum texture);
void   emscripten_glAttachShader(GLuint program, GLuint shader);
void   emscripten_glBindAttribLocation(GLuint program, GLuint index, const char* name);
void   emscripten_glBindBuffer(GLenum target, GLuint buffer);
void   emscripten_glBindFramebuffer(GLenum target, GLuint framebuffer);
void   emscripten_glBindRenderbuffer(GLenum target, GLuint renderbuffer);
void   emscripten_glBindTexture(GLenum target, GLuint texture);
void   emscripten_glBlendFunc(GLenum sfactor, GLenum dfactor);
void   emscripten_glBufferData(GLenum target, long size, const void* data, GLenum usage);
GLenum emscripten_glCheckFramebufferStatus(GLenum target);
void   emscripten_glClear(GLbitfield mask);
void   emscripten_glClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void   emscripten_glClearDepthf(GLfloat depth);
void   emscripten_glCompileShader(GLuint shader);
GLuint emscripten_glCreateProgram();
GLuint emscripten_glCreateShader(GLenum type);
void   emscripten_glDeleteTextures(GLsizei n, const GLuint* textures);
void   emscripten_glDisable(GLenum cap);
void   emscripten_glDisableVertexAttribArray(GLuint index);
void   emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void   emscripten_glEnable(GLenum cap);
void   emscripten_glEnableVertexAttribArray(GLuint index);
void   emscripten_glFlush();
void   emscripten_glFramebufferRenderbuffer(GLenum target, GLenum attachment, GLenum rbTarget,
                                            GLuint renderbuffer);
void   emscripten_glFramebufferTexture2D(GLenum target, GLenum attachment, GLenum textarget,
                                         GLuint texture, GLint level);
void   emscripten_glGenBuffers(GLsizei n, GLuint* buffers);
void   emscripten_glGenFramebuffers(GLsizei n, GLuint* framebuffers);
void   emscripten_glGenRenderbuffers(GLsizei n, GLuint* renderbuffers);
void   emscripten_glGenTextures(GLsizei n, GLuint* textures);
void   emscripten_glGetIntegerv(GLenum pname, GLint* data);
void   emscripten_glGetProgramiv(GLuint program, GLenum pname, GLint* params);
void   emscripten_glGetShaderiv(GLuint shader, GLenum pname, GLint* params);
GLint  emscripten_glGetUniformLocation(GLuint program, const char* name);
void   emscripten_glLinkProgram(GLuint program);
void   emscripten_glPixelStorei(GLenum pname, GLint param);
void   emscripten_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format,
                               GLenum type, void* pixels);
void emscripten_glRenderbufferStorage(GLenum target, GLenum format, GLsizei width, GLsizei height);
void emscripten_glScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void emscripten_glShaderSource(GLuint shader, GLsizei count, const char* const* string,
                               const GLint* length);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const void* pixels);
void emscripten_glTexParameteri(GLenum target, GLenum pname, GLint param);
void emscripten_glUniform1f(GLint location, GLfloat v0);
void emscripten_glUniform1i(GLint location, GLint v0);
void emscripten_glUniform2f(GLint location, GLfloat v0, GLfloat v1);
void emscripten_glUseProgram(GLuint program);
void emscripten_glVertexAttribPointer(GLuint index, GLint size, GLenum type, GLboolean normalized,
                                      GLsizei stride, const void* pointer);
void emscripten_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
}

// Frame buffer and shader names that OpenGL 1.1's header lacks.
constexpr GLenum webglArrayBuffer      = 0x8892;
constexpr GLenum webglStreamDraw       = 0x88E0;
constexpr GLenum webglFragmentShader   = 0x8B30;
constexpr GLenum webglVertexShader     = 0x8B31;
constexpr GLenum webglCompileStatus    = 0x8B81;
constexpr GLenum webglLinkStatus       = 0x8B82;
constexpr GLenum webglFramebuffer      = 0x8D40;
constexpr GLenum webglRenderbuffer     = 0x8D41;
constexpr GLenum webglColorAttachment0 = 0x8CE0;
constexpr GLenum webglDepthAttachment  = 0x8D00;
constexpr GLenum webglDepthComponent16 = 0x81A5;
constexpr GLenum webglFramebufferDone  = 0x8CD5; // GL_FRAMEBUFFER_COMPLETE
constexpr GLenum webglClampToEdge      = 0x812F;
constexpr GLenum webglTexture0         = 0x84C0;

// Compiles and links a program of one vertex and one fragment shader in
// GLSL ES 1.00, binding the attributes named in `attributes` to 0, 1, 2...;
// 0 when it fails.
GLuint buildWebglProgram(const char* vertexSource, const char* fragmentSource,
                         const char* const* attributes, int attributeCount);
