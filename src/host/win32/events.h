// Keyboard and window messages and the pads, turned into the game's input
// events one per pass, like the SDL host's.
#pragma once
#include "system/input.h"

// Turns a key message into the game's input event; false when the game
// ignores it. System keys (WM_SYSKEYDOWN/UP: Alt and keys pressed with it,
// F10) are not recorded: Alt+Enter switches between fullscreen and a window,
// Alt+F4 asks to quit. A virtual-key code the game does not tell apart
// becomes otherKeyCode.
bool translateKeyMessage(unsigned message, unsigned long long wParam, long long lParam,
                         InputEvent* out);

// Applies at most one key or quit event per pass, from the keyboard, the
// window or a pad, taking messages until one makes such an event; other
// messages go to the window procedure. When the window has lost the focus,
// that pass releases every key held instead.
void handleOneWin32Event();

// A pass of a watched run: the player's messages are taken and dropped, but
// for Escape and the window's close, which end watching, and Alt+Enter; the
// recording's event of the pass is applied.
void handleWatchingWin32Events();
