// Keyboard, window and pad input on Win32, one event per pass.
#include "host/win32/events.h"

#include "host/key_table.h"
#include "host/run_session.h"
#include "host/win32/pads.h"
#include "host/win32/window.h"

#include <windows.h>

namespace {

// Key events made by one poll of the pads and not applied yet: each gets a
// pass of its own.
InputEvent waiting[maxPadKeyEvents];
int        waitingNext  = 0;
int        waitingCount = 0;

// The virtual-key codes the game tells apart are its own key codes.
struct KnownKeys {
    bool known[256] = {};
    constexpr KnownKeys()
    {
#define WIN32_KEY_KNOWN(sdl, code, vk) known[vk] = true;
        HOST_KEYS(WIN32_KEY_KNOWN)
#undef WIN32_KEY_KNOWN
    }
};
constexpr KnownKeys knownKeys;

// Every key the game holds down goes up: key-ups sent while the window had
// no focus never reach it.
void releaseHeldKeys()
{
    for (int key = 0; key < 256; ++key)
        if (keys[key])
            applyInputEvent({InputEventType::KeyUp, key});
    forgetPadKeys();
}

} // namespace

bool translateKeyMessage(unsigned message, unsigned long long wParam, long long lParam,
                         InputEvent* out)
{
    const int vk = static_cast<int>(wParam & 0xFF);
    if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) {
        // A first press with Alt held: not a repeat (bit 30), Alt down (bit 29).
        const bool press =
            message == WM_SYSKEYDOWN && (lParam & (1LL << 29)) != 0 && (lParam & (1LL << 30)) == 0;
        if (press && vk == VK_RETURN)
            toggleDisplayFullscreen();
        if (!(press && vk == VK_F4))
            return false;
        // Key messages never reach DefWindowProc, which would close the
        // window: Alt+F4 quits here, without saving.
        *out = {InputEventType::Quit, 0};
        return true;
    }
    // Alt and F10 are system keys however they come (Alt's release after a
    // key pressed with it comes as WM_KEYUP).
    if ((message != WM_KEYDOWN && message != WM_KEYUP) || vk == VK_MENU || vk == VK_LMENU ||
        vk == VK_RMENU || vk == VK_F10)
        return false;
    *out = {message == WM_KEYDOWN ? InputEventType::KeyDown : InputEventType::KeyUp,
            knownKeys.known[vk] ? vk : otherKeyCode};
    return true;
}

void handleOneWin32Event()
{
    MSG message;
    while (waitingCount == 0) {
        waitingNext = 0;
        if (takeFocusLoss()) {
            releaseHeldKeys();
            recordFocusLost();
            return;
        }
        if (takeCloseRequest()) {
            waiting[0]   = {InputEventType::Quit, 0};
            waitingCount = 1;
            break;
        }
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            // The pads play only while the game's window is the active one.
            if (GetActiveWindow())
                waitingCount = pollGamepads(waiting);
            break;
        }
        if (message.message == WM_QUIT) {
            waiting[0]   = {InputEventType::Quit, 0};
            waitingCount = 1;
        } else if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            if (translateKeyMessage(message.message, message.wParam, message.lParam, &waiting[0]))
                waitingCount = 1;
        } else {
            DispatchMessageW(&message);
        }
    }
    if (waitingCount > 0) {
        applyInputEvent(waiting[waitingNext]);
        recordAppliedEvent(waiting[waitingNext++]);
        --waitingCount;
    }
}

void handleWatchingWin32Events()
{
    MSG        message;
    InputEvent input = {};
    takeFocusLoss();
    bool quit = takeCloseRequest();
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            quit = true;
        else if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
            // Alt+Enter and Alt+F4 work as in play; of the player's keys only
            // Escape does anything: it ends watching.
            if (translateKeyMessage(message.message, message.wParam, message.lParam, &input) &&
                (input.type == InputEventType::Quit ||
                 (input.type == InputEventType::KeyDown && input.key == VK_ESCAPE)))
                quit = true;
        } else {
            DispatchMessageW(&message);
        }
    }
    if (quit)
        applyInputEvent({InputEventType::Quit, 0});
    playWatchedPass();
}
