// Key-down table and the quit flag: the only way the game hears the keyboard.
#pragma once
#include <cstdint>

// The game's key codes are Windows' virtual-key codes; on Windows, where
// windows.h (pulled in by OpenGL's header there) names them already, its names serve.
#ifndef VK_SPACE
enum : int {
    VK_SPACE  = 0x20,
    VK_ESCAPE = 0x1B,
    VK_LEFT   = 0x25,
    VK_RIGHT  = 0x27,
};
#endif

extern uint8_t keys[256];     // 1 while the key with that virtual-key code is down
extern bool    quitRequested; // the main loop ends after the frame that sets it

enum class InputEventType { KeyDown, KeyUp, Quit };

struct InputEvent {
    InputEventType type;
    int            key; // virtual-key code 0..255 for KeyDown and KeyUp
};

// Applies one event taken from the queue: the one place where events change
// `keys`, shared by the game's loop and the replay tool.
void applyInputEvent(const InputEvent& event);
