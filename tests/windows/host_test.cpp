// The Win32 host's own promises, run under Wine: which key messages the game
// hears (system keys never, Alt+F4 as a quit, unknown keys as "any key"),
// which keys a pad's buttons and stick hold, and where its files are (the
// sounds read from the data folder whatever the working directory, the high
// score folder made in the roaming application data, a folder in place of a
// data file counted as missing).
#include "host/key_table.h"
#include "host/win32/events.h"
#include "host/win32/pads.h"
#include "host/win32/paths.h"
#include "host/win32/sound_output.h"

#include <windows.h>

#include <xinput.h>

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void check(bool ok, const std::string& what)
{
    if (!ok) {
        std::printf("FAIL: %s\n", what.c_str());
        ++failures;
    }
}

constexpr long long withAlt = 1LL << 29, repeated = 1LL << 30;

void keyMessages()
{
    struct Case {
        const char* what;
        unsigned    message;
        int         vk;
        long long   flags;
        bool        heard;
        InputEvent  event;
    };
    const Case cases[] = {
        {"a key press", WM_KEYDOWN, VK_LEFT, 0, true, {InputEventType::KeyDown, VK_LEFT}},
        {"a held key's repeat",
         WM_KEYDOWN,
         VK_SPACE,
         repeated,
         true,
         {InputEventType::KeyDown, VK_SPACE}},
        {"a release", WM_KEYUP, VK_ESCAPE, 0, true, {InputEventType::KeyUp, VK_ESCAPE}},
        {"a key the game does not tell apart",
         WM_KEYDOWN,
         VK_VOLUME_UP,
         0,
         true,
         {InputEventType::KeyDown, otherKeyCode}},
        {"Alt+F4", WM_SYSKEYDOWN, VK_F4, withAlt, true, {InputEventType::Quit, 0}},
        {"Alt alone", WM_SYSKEYDOWN, VK_MENU, withAlt, false, {}},
        {"a key pressed with Alt", WM_SYSKEYDOWN, 'X', withAlt, false, {}},
        {"F10", WM_SYSKEYDOWN, VK_F10, 0, false, {}},
        {"Alt+F4 held down", WM_SYSKEYDOWN, VK_F4, withAlt | repeated, false, {}},
        {"a system key's release", WM_SYSKEYUP, VK_F4, withAlt, false, {}},
        {"Alt's release as a plain key-up", WM_KEYUP, VK_MENU, 0, false, {}},
    };
    for (const Case& c : cases) {
        InputEvent event = {InputEventType::KeyUp, -1};
        const bool heard =
            translateKeyMessage(c.message, static_cast<unsigned>(c.vk), c.flags, &event);
        check(heard == c.heard, std::string("heard or not: ") + c.what);
        if (heard && c.heard)
            check(event.type == c.event.type && event.key == c.event.key,
                  std::string("the event: ") + c.what);
    }
}

void padButtonsAndStick()
{
    struct Case {
        const char* what;
        unsigned    buttons;
        int         thumbX, stickBefore;
        unsigned    held;
        int         stickAfter;
    };
    const Case cases[] = {
        {"D-pad left", XINPUT_GAMEPAD_DPAD_LEFT, 0, 0, PadLeft, 0},
        {"A and Start", XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_START, 0, 0, PadFire | PadPause, 0},
        {"B, Y and D-pad up mean any key",
         XINPUT_GAMEPAD_B | XINPUT_GAMEPAD_Y | XINPUT_GAMEPAD_DPAD_UP, 0, 0, PadOther, 0},
        {"the stick beyond its press point", 0, 32767 * 31 / 100, 0, PadRight, 1},
        {"the stick short of it", 0, -32767 * 29 / 100, 0, 0, 0},
        {"the stick held, between release and press", 0, -32767 * 27 / 100, -1, PadLeft, -1},
        {"the stick let go within its release point", 0, 32767 * 24 / 100, 1, 0, 0},
    };
    for (const Case& c : cases) {
        int stick = c.stickBefore;
        check(padKeysOf(c.buttons, c.thumbX, &stick) == c.held && stick == c.stickAfter,
              std::string("pad: ") + c.what);
    }
}

void files()
{
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"swarm-host-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name :
         {L"graphics.dat", L"PlayerShot.wav", L"EnemyShot.wav", L"EExplode.wav", L"XtraLife.wav"})
        CloseHandle(CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
    CreateDirectoryW((folder + L"\\PExplode.wav").c_str(), nullptr);
    const char* missing = missingDataFile(folder);
    check(missing && std::string(missing) == "PExplode.wav", "a folder in a data file's place");

    // Sounds are read from the data folder whatever the working directory
    // (the high score's), which they leave as it was.
    const unsigned char wav[] = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A',  'V', 'E',
                                 'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,    1,   0,
                                 0x44, 0xAC, 0,   0,   0x88, 0x58, 1, 0, 2,   0,    16,  0,
                                 'd',  'a',  't', 'a', 4,    0,    0, 0, 0,   0x40, 0,   0xC0};
    const HANDLE        file = CreateFileW((folder + L"\\PlayerShot.wav").c_str(), GENERIC_WRITE, 0,
                                           nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD               written = 0;
    WriteFile(file, wav, sizeof wav, &written, nullptr);
    CloseHandle(file);
    setSoundFolder(folder);
    SetCurrentDirectoryW(temp);
    check(waveOutSoundBackend.load("PlayerShot.wav", 2) == 1, "a sound read from the data folder");
    check(waveOutSoundBackend.load("PExplode.wav", 2) == 0,
          "a folder in a sound's place is silent");
    wchar_t current[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH, current);
    check(std::wstring(current) + L"\\" == temp || std::wstring(current) == temp,
          "the working directory left as it was");

    std::wstring scores;
    std::string  error;
    check(highScoreFolder(&scores, &error), "the high score folder: " + error);
    const std::wstring end        = L"\\Roaming\\Swarm";
    const DWORD        attributes = GetFileAttributesW(scores.c_str());
    check(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
              scores.size() > end.size() && scores.substr(scores.size() - end.size()) == end,
          "the high score folder is made in the roaming application data: " + narrowText(scores));
}

} // namespace

int main()
{
    keyMessages();
    padButtonsAndStick();
    files();
    if (failures == 0)
        std::printf(
            "the Win32 host hears the right keys and pads and keeps its files where it should\n");
    return failures == 0 ? 0 : 1;
}
