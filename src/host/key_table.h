// The keys the game tells apart, once for every host: SDL's key code (its
// SDLK_ name without the prefix), the browser's KeyboardEvent.code (which
// keyboard layouts do not change) and the virtual-key code the game reads in
// `keys`. Every other key is otherKeyCode, which the game reads only as "any
// key" in the intro. A host expands the table with its own KEY(sdl, code, vk).
#pragma once
#include "system/input.h"

// The code of every key, and pad button, without a code of its own.
constexpr int otherKeyCode = 0xFF;

// clang-format off
#define HOST_KEYS(KEY) \
    KEY(SPACE,        "Space",          VK_SPACE) \
    KEY(ESCAPE,       "Escape",         VK_ESCAPE) \
    KEY(LEFT,         "ArrowLeft",      VK_LEFT) \
    KEY(UP,           "ArrowUp",        0x26) \
    KEY(RIGHT,        "ArrowRight",     VK_RIGHT) \
    KEY(DOWN,         "ArrowDown",      0x28) \
    KEY(BACKSPACE,    "Backspace",      0x08) \
    KEY(TAB,          "Tab",            0x09) \
    KEY(RETURN,       "Enter",          0x0D) \
    KEY(KP_ENTER,     "NumpadEnter",    0x0D) \
    KEY(LSHIFT,       "ShiftLeft",      0x10) \
    KEY(RSHIFT,       "ShiftRight",     0x10) \
    KEY(LCTRL,        "ControlLeft",    0x11) \
    KEY(RCTRL,        "ControlRight",   0x11) \
    KEY(PAUSE,        "Pause",          0x13) \
    KEY(CAPSLOCK,     "CapsLock",       0x14) \
    KEY(PAGEUP,       "PageUp",         0x21) \
    KEY(PAGEDOWN,     "PageDown",       0x22) \
    KEY(END,          "End",            0x23) \
    KEY(HOME,         "Home",           0x24) \
    KEY(INSERT,       "Insert",         0x2D) \
    KEY(DELETE,       "Delete",         0x2E) \
    KEY(LGUI,         "MetaLeft",       0x5B) \
    KEY(RGUI,         "MetaRight",      0x5C) \
    KEY(APPLICATION,  "ContextMenu",    0x5D) \
    KEY(KP_0,         "Numpad0",        0x60) \
    KEY(KP_MULTIPLY,  "NumpadMultiply", 0x6A) \
    KEY(KP_PLUS,      "NumpadAdd",      0x6B) \
    KEY(KP_MINUS,     "NumpadSubtract", 0x6D) \
    KEY(KP_PERIOD,    "NumpadDecimal",  0x6E) \
    KEY(KP_DIVIDE,    "NumpadDivide",   0x6F) \
    KEY(NUMLOCKCLEAR, "NumLock",        0x90) \
    KEY(SCROLLLOCK,   "ScrollLock",     0x91) \
    KEY(SEMICOLON,    "Semicolon",      0xBA) \
    KEY(EQUALS,       "Equal",          0xBB) \
    KEY(COMMA,        "Comma",          0xBC) \
    KEY(MINUS,        "Minus",          0xBD) \
    KEY(PERIOD,       "Period",         0xBE) \
    KEY(SLASH,        "Slash",          0xBF) \
    KEY(BACKQUOTE,    "Backquote",      0xC0) \
    KEY(LEFTBRACKET,  "BracketLeft",    0xDB) \
    KEY(BACKSLASH,    "Backslash",      0xDC) \
    KEY(RIGHTBRACKET, "BracketRight",   0xDD) \
    KEY(QUOTE,        "Quote",          0xDE) \
    KEY(a,            "KeyA",           0x41) \
    KEY(b,            "KeyB",           0x42) \
    KEY(c,            "KeyC",           0x43) \
    KEY(d,            "KeyD",           0x44) \
    KEY(e,            "KeyE",           0x45) \
    KEY(f,            "KeyF",           0x46) \
    KEY(g,            "KeyG",           0x47) \
    KEY(h,            "KeyH",           0x48) \
    KEY(i,            "KeyI",           0x49) \
    KEY(j,            "KeyJ",           0x4A) \
    KEY(k,            "KeyK",           0x4B) \
    KEY(l,            "KeyL",           0x4C) \
    KEY(m,            "KeyM",           0x4D) \
    KEY(n,            "KeyN",           0x4E) \
    KEY(o,            "KeyO",           0x4F) \
    KEY(p,            "KeyP",           0x50) \
    KEY(q,            "KeyQ",           0x51) \
    KEY(r,            "KeyR",           0x52) \
    KEY(s,            "KeyS",           0x53) \
    KEY(t,            "KeyT",           0x54) \
    KEY(u,            "KeyU",           0x55) \
    KEY(v,            "KeyV",           0x56) \
    KEY(w,            "KeyW",           0x57) \
    KEY(x,            "KeyX",           0x58) \
    KEY(y,            "KeyY",           0x59) \
    KEY(z,            "KeyZ",           0x5A) \
    KEY(0,            "Digit0",         0x30) \
    KEY(1,            "Digit1",         0x31) \
    KEY(2,            "Digit2",         0x32) \
    KEY(3,            "Digit3",         0x33) \
    KEY(4,            "Digit4",         0x34) \
    KEY(5,            "Digit5",         0x35) \
    KEY(6,            "Digit6",         0x36) \
    KEY(7,            "Digit7",         0x37) \
    KEY(8,            "Digit8",         0x38) \
    KEY(9,            "Digit9",         0x39) \
    KEY(F1,           "F1",             0x70) \
    KEY(F2,           "F2",             0x71) \
    KEY(F3,           "F3",             0x72) \
    KEY(F4,           "F4",             0x73) \
    KEY(F5,           "F5",             0x74) \
    KEY(F6,           "F6",             0x75) \
    KEY(F7,           "F7",             0x76) \
    KEY(F8,           "F8",             0x77) \
    KEY(F9,           "F9",             0x78) \
    KEY(F10,          "F10",            0x79) \
    KEY(F11,          "F11",            0x7A) \
    KEY(F12,          "F12",            0x7B) \
    KEY(KP_1,         "Numpad1",        0x61) \
    KEY(KP_2,         "Numpad2",        0x62) \
    KEY(KP_3,         "Numpad3",        0x63) \
    KEY(KP_4,         "Numpad4",        0x64) \
    KEY(KP_5,         "Numpad5",        0x65) \
    KEY(KP_6,         "Numpad6",        0x66) \
    KEY(KP_7,         "Numpad7",        0x67) \
    KEY(KP_8,         "Numpad8",        0x68) \
    KEY(KP_9,         "Numpad9",        0x69)
// clang-format on
