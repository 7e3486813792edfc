// Key-down table and the quit flag.
#include "system/input.h"

uint8_t keys[256]     = {};
bool    quitRequested = false;

void applyInputEvent(const InputEvent& event)
{
    switch (event.type) {
    case InputEventType::KeyDown:
        if (event.key >= 0 && event.key < 256)
            keys[event.key] = 1;
        break;
    case InputEventType::KeyUp:
        if (event.key >= 0 && event.key < 256)
            keys[event.key] = 0;
        break;
    case InputEventType::Quit: quitRequested = true; break;
    }
}
