// OpenGL entry points beyond 1.1, looked up through the platform for the
// current context.
#include "host/present/gl_calls.h"

#include <cstdlib>
#include <cstring>

GlCalls gl = {};

namespace {

GlProcLookup lookUpProc = nullptr;

template <typename T> bool lookUp(T& fn, const char* name)
{
    fn = reinterpret_cast<T>(lookUpProc(name));
    return fn != nullptr;
}

bool lookUpShaderCalls()
{
    return lookUp(gl.createShader, "glCreateShader") && lookUp(gl.shaderSource, "glShaderSource") &&
           lookUp(gl.compileShader, "glCompileShader") && lookUp(gl.getShaderiv, "glGetShaderiv") &&
           lookUp(gl.createProgram, "glCreateProgram") &&
           lookUp(gl.attachShader, "glAttachShader") && lookUp(gl.linkProgram, "glLinkProgram") &&
           lookUp(gl.getProgramiv, "glGetProgramiv") && lookUp(gl.useProgram, "glUseProgram") &&
           lookUp(gl.getUniformLocation, "glGetUniformLocation") &&
           lookUp(gl.uniform1i, "glUniform1i") && lookUp(gl.uniform1f, "glUniform1f") &&
           lookUp(gl.uniform2f, "glUniform2f") && lookUp(gl.deleteShader, "glDeleteShader") &&
           lookUp(gl.deleteProgram, "glDeleteProgram") &&
           lookUp(gl.activeTexture, "glActiveTexture");
}

// Whether the context's extension string names `name` as a whole word.
bool extensionSupported(const char* name)
{
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!all)
        return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(all, name); at; at = std::strstr(at + length, name))
        if ((at == all || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    return false;
}

} // namespace

bool lookUpGlCalls(GlProcLookup procAddress)
{
    lookUpProc = procAddress;
    // Frame buffer objects are core from OpenGL 3.0 and an extension before;
    // shaders are core from 2.0.
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const int   major   = version ? std::atoi(version) : 0;
    const bool  ok      = (major >= 3 || extensionSupported("GL_ARB_framebuffer_object")) &&
                    lookUp(gl.genFramebuffers, "glGenFramebuffers") &&
                    lookUp(gl.bindFramebuffer, "glBindFramebuffer") &&
                    lookUp(gl.genRenderbuffers, "glGenRenderbuffers") &&
                    lookUp(gl.bindRenderbuffer, "glBindRenderbuffer") &&
                    lookUp(gl.renderbufferStorage, "glRenderbufferStorage") &&
                    lookUp(gl.framebufferRenderbuffer, "glFramebufferRenderbuffer") &&
                    lookUp(gl.framebufferTexture2D, "glFramebufferTexture2D") &&
                    lookUp(gl.checkFramebufferStatus, "glCheckFramebufferStatus") &&
                    lookUp(gl.blitFramebuffer, "glBlitFramebuffer") &&
                    lookUp(gl.deleteFramebuffers, "glDeleteFramebuffers") &&
                    lookUp(gl.deleteRenderbuffers, "glDeleteRenderbuffers");
    gl.clearBuffer = nullptr;
    if (major >= 3)
        lookUp(gl.clearBuffer, "glClearBufferfv");
    gl.shaders = major >= 2 && lookUpShaderCalls();
    return ok;
}
