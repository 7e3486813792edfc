// Keyboard and gamepad events from SDL2, turned into the game's virtual-key
// codes, one per pass; window events for the focus.
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
    if (key >= SDLK_a && key <= SDLK_z)
        return 0x41 + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return 0x30 + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return 0x70 + (key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return 0x61 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return 0x28;
    case SDLK_BACKSPACE: return 0x08;
    case SDLK_TAB: return 0x09;
    case SDLK_RETURN: return 0x0D;
    case SDLK_KP_ENTER: return 0x0D;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 0x10;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 0x11;
    case SDLK_PAUSE: return 0x13;
    case SDLK_CAPSLOCK: return 0x14;
    case SDLK_PAGEUP: return 0x21;
    case SDLK_PAGEDOWN: return 0x22;
    case SDLK_END: return 0x23;
    case SDLK_HOME: return 0x24;
    case SDLK_INSERT: return 0x2D;
    case SDLK_DELETE: return 0x2E;
    case SDLK_LGUI: return 0x5B;
    case SDLK_RGUI: return 0x5C;
    case SDLK_APPLICATION: return 0x5D;
    case SDLK_KP_0: return 0x60;
    case SDLK_KP_MULTIPLY: return 0x6A;
    case SDLK_KP_PLUS: return 0x6B;
    case SDLK_KP_MINUS: return 0x6D;
    case SDLK_KP_PERIOD: return 0x6E;
    case SDLK_KP_DIVIDE: return 0x6F;
    case SDLK_NUMLOCKCLEAR: return 0x90;
    case SDLK_SCROLLLOCK: return 0x91;
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
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
            return;
        }
        waitingNext = 0;
        if (translateSdlEvent(event, &waiting[0]))
            waitingCount = 1;
        else
            waitingCount = translatePadEvent(event, waiting);
    }
    if (waitingCount > 0) {
        applyInputEvent(waiting[waitingNext++]);
        --waitingCount;
    }
}
