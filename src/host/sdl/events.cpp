// Keyboard and gamepad events from SDL2, turned into the game's virtual-key
// codes, one per pass; window events for the focus.
#include "host/key_table.h"
#include "host/run_session.h"
#include "host/sdl/gamepad.h"
#include "host/sdl/sdl_host.h"
#include "host/sdl/window.h"
#include "system/input.h"

#include <SDL2/SDL.h>

namespace {

constexpr int otherKey = otherKeyCode;

// Key events made by one SDL event and not applied yet: a pad event can make
// more than one, and each gets a pass of its own.
InputEvent waiting[maxPadKeyEvents];
int        waitingNext  = 0;
int        waitingCount = 0;

int virtualKeyFor(SDL_Keycode key)
{
    switch (key) {
        // clang-format off
#define SDL_KEY_CASE(sdl, code, vk) case SDLK_##sdl: return vk;
        HOST_KEYS(SDL_KEY_CASE)
#undef SDL_KEY_CASE
        // clang-format on
    default: return otherKey;
    }
}

// Alt keys, keys pressed with Alt, and F10 are system keys: not recorded.
bool isSystemKey(const SDL_KeyboardEvent& key)
{
    const SDL_Keycode sym = key.keysym.sym;
    return (key.keysym.mod & KMOD_ALT) != 0 || sym == SDLK_LALT || sym == SDLK_RALT ||
           sym == SDLK_F10;
}

// Every key the game holds down goes up: key-ups sent while the window had no
// focus never reach it, and SDL sends no pad events without the focus.
void releaseHeldKeys()
{
    for (int key = 0; key < 256; ++key)
        if (keys[key])
            applyInputEvent({InputEventType::KeyUp, key});
    forgetPadKeys();
}

bool isFocusLost(const SDL_Event& event)
{
    return event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_FOCUS_LOST;
}

bool isEventRead(Uint32 type)
{
    return type == SDL_KEYDOWN || type == SDL_KEYUP || type == SDL_WINDOWEVENT ||
           (type >= SDL_JOYAXISMOTION && type < SDL_FINGERDOWN);
}

} // namespace

void filterSdlEvents()
{
    // Only the quit request, keys, window events and pads reach the queue.
    // Pads need SDL's joystick events too: it makes the pad events of them.
    for (Uint32 type = SDL_QUIT + 1; type < SDL_USEREVENT; ++type)
        if (!isEventRead(type))
            SDL_EventState(type, SDL_IGNORE);
    SDL_StopTextInput();
}

bool translateSdlEvent(const SDL_Event& event, InputEvent* out)
{
    switch (event.type) {
    case SDL_QUIT: *out = {InputEventType::Quit, 0}; return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (isSystemKey(event.key)) {
            const bool press = event.type == SDL_KEYDOWN && !event.key.repeat &&
                               (event.key.keysym.mod & KMOD_ALT) != 0;
            const SDL_Keycode sym = event.key.keysym.sym;
            // No window manager took Alt+F4: close, as a desktop would.
            if (press && sym == SDLK_F4) {
                SDL_Event quit = {};
                quit.type      = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
            if (press && (sym == SDLK_RETURN || sym == SDLK_KP_ENTER))
                toggleDisplayFullscreen();
            return false;
        }
        *out = {event.type == SDL_KEYDOWN ? InputEventType::KeyDown : InputEventType::KeyUp,
                virtualKeyFor(event.key.keysym.sym)};
        return true;
    default: return false;
    }
}

void handleOneSdlEvent()
{
    updateDisplayCursor();
    // Events that make no key event (window events, SDL's joystick events
    // behind the pad events, a stick moving within its dead zone) are taken
    // until one does; the pass applies the first key event it makes.
    SDL_Event event;
    while (waitingCount == 0 && SDL_PollEvent(&event)) {
        if (isFocusLost(event)) {
            releaseHeldKeys();
            recordFocusLost();
            return;
        }
        waitingNext = 0;
        if (translateSdlEvent(event, &waiting[0]))
            waitingCount = 1;
        else
            waitingCount = translatePadEvent(event, waiting);
    }
    if (waitingCount > 0) {
        applyInputEvent(waiting[waitingNext]);
        recordAppliedEvent(waiting[waitingNext++]);
        --waitingCount;
    }
}

void handleWatchingSdlEvents()
{
    updateDisplayCursor();
    SDL_Event  event;
    InputEvent input = {};
    while (SDL_PollEvent(&event)) {
        const bool escape = event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE;
        // Alt+Enter and Alt+F4 work as in play; of the player's keys only
        // Escape does anything: it ends watching, as closing the window does.
        if (translateSdlEvent(event, &input) && (input.type == InputEventType::Quit || escape))
            applyInputEvent({InputEventType::Quit, 0});
    }
    playWatchedPass();
}
