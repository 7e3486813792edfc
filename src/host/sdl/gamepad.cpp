// Gamepads as the game's keys.
#include "host/sdl/gamepad.h"

#include "host/sdl/sdl_host.h"

#include <SDL2/SDL.h>

namespace {

constexpr int maxPads = 8;

struct Pad {
    SDL_GameController* controller; // null: the slot is free
    SDL_JoystickID      id;
    unsigned            buttons; // bit n: SDL_GameControllerButton n is down
    int                 stick;   // -1 left, 0 centre, 1 right
};

Pad  pads[maxPads];
bool started = false;

unsigned keysOf(const Pad& pad)
{
    if (!pad.controller)
        return 0;
    unsigned held = 0;
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
        if (!(pad.buttons & (1u << b)))
            continue;
        switch (b) {
            // clang-format off
#define SDL_PAD_CASE(sdl, standard, key) case SDL_CONTROLLER_BUTTON_##sdl: held |= key; break;
            HOST_PAD_BUTTONS(SDL_PAD_CASE)
#undef SDL_PAD_CASE
            // clang-format on
        default: held |= PadOther; break;
        }
    }
    if (pad.stick < 0)
        held |= PadLeft;
    if (pad.stick > 0)
        held |= PadRight;
    return held;
}

unsigned keysOfAllPads()
{
    unsigned held = 0;
    for (const Pad& pad : pads)
        held |= keysOf(pad);
    return held;
}

Pad* padWithId(SDL_JoystickID id)
{
    for (Pad& pad : pads)
        if (pad.controller && pad.id == id)
            return &pad;
    return nullptr;
}

void addPad(int deviceIndex)
{
    if (padWithId(SDL_JoystickGetDeviceInstanceID(deviceIndex)))
        return;
    for (Pad& pad : pads) {
        if (pad.controller)
            continue;
        SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
        if (controller)
            pad = {controller, SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)), 0,
                   0};
        return;
    }
}

void removePad(Pad* pad)
{
    SDL_GameControllerClose(pad->controller);
    *pad = {};
}

} // namespace

void startGamepads() { started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0; }

void stopGamepads()
{
    for (Pad& pad : pads)
        if (pad.controller)
            removePad(&pad);
    if (started)
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

int translatePadEvent(const SDL_Event& event, InputEvent* out)
{
    const unsigned before = keysOfAllPads();
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: addPad(event.cdevice.which); break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (Pad* pad = padWithId(event.cdevice.which))
            removePad(pad);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (Pad* pad = padWithId(event.cbutton.which)) {
            if (event.cbutton.button >= SDL_CONTROLLER_BUTTON_MAX)
                break;
            const unsigned bit = 1u << event.cbutton.button;
            if (event.cbutton.state == SDL_PRESSED)
                pad->buttons |= bit;
            else
                pad->buttons &= ~bit;
        }
        break;
    case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = padWithId(event.caxis.which))
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                pad->stick = stickDirection(event.caxis.value, pad->stick);
        break;
    default: return 0;
    }
    return padKeyEvents(before, keysOfAllPads(), out);
}

void forgetPadKeys()
{
    for (Pad& pad : pads) {
        pad.buttons = 0;
        pad.stick   = 0;
    }
}
