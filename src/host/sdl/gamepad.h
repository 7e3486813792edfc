// Gamepads through SDL's game controller API, read as the game's keys as
// host/pad_table.h maps them.
#pragma once
#include "host/pad_keys.h"
#include "system/input.h"

union SDL_Event;

// Starts SDL's game controller support. Pads already plugged in arrive as
// device-added events, like those plugged in later. Without it, no pads.
void startGamepads();
void stopGamepads();

// Turns one SDL event into the key presses and releases it makes, in order
// (releases first), into out[0..maxPadKeyEvents); returns how many. Opens a
// pad that was added and closes one that was removed, releasing its keys.
// A key is down while any pad holds it through any of its inputs.
int translatePadEvent(const SDL_Event& event, InputEvent* out);

// Forgets what the pads hold, without key events: the window lost the focus,
// every key is released at once, and SDL sends no pad presses until it has it
// back.
void forgetPadKeys();
