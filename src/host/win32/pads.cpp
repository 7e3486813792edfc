// Gamepads through XInput, loaded at run time from the system folder.
#include "host/win32/pads.h"

#include <windows.h>

#include <initializer_list>
#include <xinput.h>

namespace {

constexpr int   maxPads      = XUSER_MAX_COUNT;
constexpr DWORD absentPollMs = 1000; // how often a free slot is looked at again
constexpr WORD  dpadLeft     = XINPUT_GAMEPAD_DPAD_LEFT;
constexpr WORD  dpadRight    = XINPUT_GAMEPAD_DPAD_RIGHT;
constexpr WORD  buttonA      = XINPUT_GAMEPAD_A;
constexpr WORD  buttonStart  = XINPUT_GAMEPAD_START;
constexpr WORD  otherButtons = static_cast<WORD>(~(dpadLeft | dpadRight | buttonA | buttonStart));

using GetStateFunction = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);

struct Pad {
    bool     present;
    DWORD    lastLook; // when the slot was last asked, GetTickCount's ms
    unsigned held;     // the pad keys it holds
    int      stick;    // -1 left, 0 centre, 1 right
};

HMODULE          library  = nullptr;
GetStateFunction getState = nullptr;
Pad              pads[maxPads];
unsigned         heldBefore = 0;

void readPad(DWORD index, Pad& pad)
{
    const DWORD now = GetTickCount();
    if (!pad.present && pad.lastLook != 0 && now - pad.lastLook < absentPollMs)
        return;
    pad.lastLook       = now;
    XINPUT_STATE state = {};
    if (getState(index, &state) != ERROR_SUCCESS) {
        pad = Pad{false, now, 0, 0};
        return;
    }
    pad.present = true;
    pad.held    = padKeysOf(state.Gamepad.wButtons, state.Gamepad.sThumbLX, &pad.stick);
}

} // namespace

unsigned padKeysOf(unsigned buttons, int thumbX, int* stick)
{
    // Every button but those of the table (up and down on the D-pad too) is
    // a key of no meaning, as on the SDL host.
    unsigned held = 0;
    if (buttons & dpadLeft)
        held |= PadLeft;
    if (buttons & dpadRight)
        held |= PadRight;
    if (buttons & buttonA)
        held |= PadFire;
    if (buttons & buttonStart)
        held |= PadPause;
    if (buttons & otherButtons)
        held |= PadOther;
    *stick = stickDirection(thumbX, *stick);
    if (*stick < 0)
        held |= PadLeft;
    if (*stick > 0)
        held |= PadRight;
    return held;
}

void startGamepads()
{
    // Only from the system folder: never a DLL of the same name elsewhere.
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
        library = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        if (library)
            break;
    }
    if (library)
        getState = reinterpret_cast<GetStateFunction>(
            reinterpret_cast<void*>(GetProcAddress(library, "XInputGetState")));
    for (Pad& pad : pads)
        pad = Pad{};
    heldBefore = 0;
}

void stopGamepads()
{
    if (library)
        FreeLibrary(library);
    library  = nullptr;
    getState = nullptr;
}

int pollGamepads(InputEvent* out)
{
    if (!getState)
        return 0;
    unsigned held = 0;
    for (DWORD i = 0; i < maxPads; ++i) {
        readPad(i, pads[i]);
        held |= pads[i].held;
    }
    const int n = padKeyEvents(heldBefore, held, out);
    heldBefore  = held;
    return n;
}

void forgetPadKeys() { heldBefore = 0; }
