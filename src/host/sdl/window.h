// The display window and its OpenGL context, on SDL2.
#pragma once
#include "host/options.h"

#include <string>

enum class DisplayMode {
    Fullscreen, // the game: fullscreen desktop window, or a window with displaySettings.window
    Offscreen,  // replay tool and tests: SDL's offscreen driver, no visible window
};

// What the player chose on the command line; read when the display opens.
extern DisplaySettings displaySettings;

// Opens the window and an OpenGL compatibility context and makes it current.
// The game draws into a 640 x 480 frame buffer; presentDisplay (present.h)
// scales it into the window. On failure returns false with a one-line reason
// in *error.
bool openDisplay(DisplayMode mode, std::string* error);
void closeDisplay();

// Alt+Enter: the game's window goes fullscreen on the screen it is on, or
// back to a window where it was (at first, the default size, centred). Does
// nothing to the offscreen window.
void toggleDisplayFullscreen();

// Called every pass: the mouse cursor is hidden over the picture in a window
// and always in fullscreen, shown elsewhere.
void updateDisplayCursor();

// Sets the window icon from a BMP file when it exists.
void setDisplayIcon(const char* bmpPath);

// The window: opened with the game's title "Swarm!", the intro's view set and all
// pictures loaded; and its teardown.
bool createDisplayWindow(std::string* error);
void destroyDisplayWindow();
