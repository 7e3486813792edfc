// The game's window on Win32: borderless over a whole monitor, or a window
// of a whole multiple of the picture; Alt+Enter between them; its WGL
// context and the present code's view of it.
#pragma once
#include "host/options.h"

#include <string>

// What the player chose on the command line; read when the window opens.
extern DisplaySettings displaySettings;

// Opens the window on the chosen monitor with a current OpenGL context,
// presents through it, sets the intro's view and loads the pictures from the
// working directory. False with a one-line reason; nothing is kept then.
bool createDisplayWindow(std::string* error);
void destroyDisplayWindow();

// Alt+Enter: fullscreen on the monitor the window is on, or back to a window
// where it was (at first the default size, centred on the work area).
void toggleDisplayFullscreen();

// What the window procedure saw since last asked: a close request (the
// window's close button, the system menu), and the loss of the focus.
bool takeCloseRequest();
bool takeFocusLoss();
