// The WebGL 2 context the browser host and the browser replay draw in: on a
// page canvas, with our OpenGL 1.1 layer ready on it.
#pragma once
#include <string>

// Makes a context on the canvas `selector` with a drawing buffer of width x
// height (0 x 0: the size the page gave it), current, with no multisampling
// (the picture matches the native renderer's), and starts the OpenGL layer;
// false with a one-line reason.
bool openWebglCanvas(const char* selector, int width, int height, std::string* error);
void closeWebglCanvas();

// Watches the canvas's context (a GPU reset, the tab moved to another GPU,
// too many contexts): `lost` is called when the browser takes it away, and
// `restored` once it gives it back and the OpenGL layer has made its shader,
// buffer and textures again, under the game's names. The browser is asked to
// give it back.
void watchWebglContext(void (*lost)(), void (*restored)());
