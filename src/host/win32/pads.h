// Gamepads through XInput, read as the game's keys as host/pad_table.h maps
// them. The DLL is loaded from the system folder only; without one, no pads.
#pragma once
#include "host/pad_keys.h"
#include "system/input.h"

// The pad keys that an XInput pad's buttons (XINPUT_GAMEPAD_ bits) and its
// left stick's x (-32768..32767) hold. `stick` is the stick's direction
// (-1 left, 0 centre, 1 right) as last read, and is updated: a stick presses
// beyond stickPressPercent and lets go within stickReleasePercent.
unsigned padKeysOf(unsigned buttons, int thumbX, int* stick);

void startGamepads();
void stopGamepads();

// Reads the pads (a pad plugged in is found within a second) and puts the
// key presses and releases since the last poll, releases first, into
// out[0..maxPadKeyEvents); returns how many. A key is down while any pad
// holds it through any of its inputs; a pad taken away lets go of its keys.
int pollGamepads(InputEvent* out);

// Forgets what the pads hold, without key events: the window lost the focus
// and every key is released at once. Keys still held count as new presses
// once the focus is back.
void forgetPadKeys();
