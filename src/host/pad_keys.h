// What the desktop hosts make of their pads' readings: the stick's direction
// with its hysteresis, and the game's key events for a change of pad keys.
#pragma once
#include "host/pad_table.h"
#include "system/input.h"

// At most this many key events come of one change (every pad key changing).
constexpr int maxPadKeyEvents = padKeyCount;

// The left stick's direction (-1 left, 0 centre, 1 right) for an x reading of
// -32768..32767, as SDL and XInput give it, when it was `before`: pressed
// beyond stickPressPercent, let go within stickReleasePercent.
int stickDirection(int value, int before);

// Key events for the change of pad keys from `before` to `after`, releases
// first, into out[0..maxPadKeyEvents); returns how many.
int padKeyEvents(unsigned before, unsigned after, InputEvent* out);
