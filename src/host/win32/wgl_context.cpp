// The WGL context of a window: its pixel format, the context made current, and
// the entry points of OpenGL beyond 1.1.
#include "host/win32/wgl_context.h"

#include <cstdint>
#include <cstdio>

namespace {

std::string lastErrorText(const char* what)
{
    char number[32];
    snprintf(number, sizeof number, " (error %lu)", static_cast<unsigned long>(GetLastError()));
    return std::string(what) + number;
}

} // namespace

bool createWglContext(HWND window, HDC* dc, HGLRC* context, std::string* error)
{
    *dc          = nullptr;
    *context     = nullptr;
    HDC windowDc = GetDC(window);
    if (!windowDc) {
        *error = lastErrorText("The window has no device context");
        return false;
    }
    PIXELFORMATDESCRIPTOR wanted = {};
    wanted.nSize                 = sizeof wanted;
    wanted.nVersion              = 1;
    wanted.dwFlags               = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType            = PFD_TYPE_RGBA;
    wanted.cColorBits            = 24;
    wanted.cAlphaBits            = 8;
    wanted.cDepthBits            = 24;
    wanted.iLayerType            = PFD_MAIN_PLANE;
    int format                   = ChoosePixelFormat(windowDc, &wanted);
    if (format == 0) {
        *error = lastErrorText("No OpenGL pixel format for the window");
        ReleaseDC(window, windowDc);
        return false;
    }
    PIXELFORMATDESCRIPTOR chosen = {};
    DescribePixelFormat(windowDc, format, sizeof chosen, &chosen);
    if (!(chosen.dwFlags & PFD_SUPPORT_OPENGL) || !(chosen.dwFlags & PFD_DOUBLEBUFFER) ||
        chosen.iPixelType != PFD_TYPE_RGBA || chosen.cDepthBits == 0) {
        *error = "No double-buffered RGBA OpenGL pixel format with a depth buffer";
        ReleaseDC(window, windowDc);
        return false;
    }
    if (!SetPixelFormat(windowDc, format, &chosen)) {
        *error = lastErrorText("The window's pixel format cannot be set");
        ReleaseDC(window, windowDc);
        return false;
    }
    HGLRC made = wglCreateContext(windowDc);
    if (!made) {
        *error = lastErrorText("No OpenGL context (OpenGL 1.1 is needed)");
        ReleaseDC(window, windowDc);
        return false;
    }
    if (!wglMakeCurrent(windowDc, made)) {
        *error = lastErrorText("The OpenGL context cannot be made current");
        wglDeleteContext(made);
        ReleaseDC(window, windowDc);
        return false;
    }
    *dc      = windowDc;
    *context = made;
    return true;
}

void destroyWglContext(HWND window, HDC dc, HGLRC context)
{
    if (context) {
        if (wglGetCurrentContext() == context)
            wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context);
    }
    if (dc)
        ReleaseDC(window, dc);
}

void* wglEntryPoint(const char* name)
{
    PROC found = wglGetProcAddress(name);
    // Some drivers answer 1, 2, 3 or -1 instead of null for a missing one.
    auto value = reinterpret_cast<intptr_t>(found);
    if (value >= -1 && value <= 3)
        return nullptr;
    return reinterpret_cast<void*>(found);
}
