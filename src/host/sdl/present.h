// Presenting the game's picture in an SDL window (host/present/present.h).
#pragma once
#include "host/present/present.h"

struct SDL_Window;

// Presents into `window`, whose OpenGL context is current; as startPresenting
// of the shared present code.
bool startPresenting(SDL_Window* window, ScaleMode scale, std::string* error);
