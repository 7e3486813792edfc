// Gamepads as the game's keys, once for every host: the D-pad or the left
// stick for Left and Right, the south button for Space, Start for Escape, and
// every other button as a key of no meaning (it skips the intro). A host
// expands the buttons with its own BUTTON(sdl, standard, key): SDL's game
// controller button (its SDL_CONTROLLER_BUTTON_ name without the prefix), its
// index in the browser's standard gamepad mapping, and the pad key it holds.
#pragma once
#include "host/key_table.h"
#include "system/input.h"

// What a pad can hold, as bits: bit n presses padKeyCode[n].
enum PadKey : unsigned { PadLeft = 1, PadRight = 2, PadFire = 4, PadPause = 8, PadOther = 16 };
constexpr int      padKeyCount             = 5;
constexpr unsigned padKeys[padKeyCount]    = {PadLeft, PadRight, PadFire, PadPause, PadOther};
constexpr int      padKeyCode[padKeyCount] = {VK_LEFT, VK_RIGHT, VK_SPACE, VK_ESCAPE, otherKeyCode};

// clang-format off
#define HOST_PAD_BUTTONS(BUTTON) \
    BUTTON(DPAD_LEFT,  14, PadLeft) \
    BUTTON(DPAD_RIGHT, 15, PadRight) \
    BUTTON(A,           0, PadFire) \
    BUTTON(START,       9, PadPause)
// clang-format on

// The left stick presses Left or Right beyond 30 % of its travel and lets go
// within 25 %, so that a stick resting near the edge does not chatter.
constexpr int stickPressPercent   = 30;
constexpr int stickReleasePercent = 25;
