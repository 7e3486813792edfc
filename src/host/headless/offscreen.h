// The OpenGL context that the headless host draws in: a 640 x 480 picture
// with no window to show it. Each platform provides it (SDL's offscreen
// driver, a canvas in the browser).
#pragma once
#include <string>

// Opens the context and makes it current; false with a one-line reason.
bool openOffscreenContext(std::string* error);
void closeOffscreenContext();
