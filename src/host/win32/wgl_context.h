// An OpenGL context through WGL on a window's device context.
#pragma once
#include <windows.h>

#include <string>

// Gives `window` a double-buffered RGBA pixel format with a depth buffer and makes a new WGL
// context current on it. False, with a one-line reason, and nothing kept, when it cannot.
bool createWglContext(HWND window, HDC* dc, HGLRC* context, std::string* error);
void destroyWglContext(HWND window, HDC dc, HGLRC context);
// An entry point beyond OpenGL 1.1 in the current context; null when missing (wglGetProcAddress's
// -1..3 too).
void* wglEntryPoint(const char* name);
