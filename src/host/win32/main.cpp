// Swarm! on Windows: process entry and the main loop. One event at most,
// then one frame, per pass, until the game asks to quit. Data files are read
// from the .exe's folder, the high score is kept in %APPDATA%\Swarm.
#include "game/frame.h"
#include "host/options.h"
#include "host/present/frame_stats.h"
#include "host/run_session.h"
#include "host/win32/events.h"
#include "host/win32/pads.h"
#include "host/win32/paths.h"
#include "host/win32/sound_output.h"
#include "host/win32/win32_host.h"
#include "host/win32/window.h"
#include "sound/sound.h"
#include "system/input.h"

#include <windows.h>

#include <string>

namespace {

// DLLs only from the system folder, never from the current one. Looked up,
// as Windows 7 without its update lacks it.
void loadDllsFromSystemFolderOnly()
{
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto    set    = reinterpret_cast<SetDirectories>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (set)
        set(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

// Shows `text` in a message box titled with the game's name.
void showMessage(const std::string& text, UINT icon)
{
    const int    size = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<std::size_t>(size) : 1, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], size);
    MessageBoxW(nullptr, wide.c_str(), L"Swarm!", icon);
}

// Writes `text` where the player started the program: its standard output
// or error when they lead somewhere (a file, a pipe), else the console it
// was started from; a message box when there is neither.
void answer(const std::string& text, bool isError)
{
    const HANDLE given   = GetStdHandle(isError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD        written = 0;
    if (given && given != INVALID_HANDLE_VALUE && GetFileType(given) != FILE_TYPE_UNKNOWN &&
        WriteFile(given, text.data(), static_cast<DWORD>(text.size()), &written, nullptr))
        return;
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            // The prompt was drawn already: the answer starts on a line of its own.
            const std::string line = "\r\n" + text;
            WriteFile(console, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(console);
            FreeConsole();
            return;
        }
        FreeConsole();
    }
    showMessage(text, isError ? MB_ICONERROR : MB_ICONINFORMATION);
}

// The game cannot start: says why, in a message box, and in the log.
int refuse(const std::string& why)
{
    logLine(why);
    showMessage("Swarm! cannot start.\n\n" + why, MB_ICONERROR);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    loadDllsFromSystemFolderOnly();
    const Options options = parseOptions(argc, argv);
    switch (options.action) {
    case OptionsAction::Help: answer(usageText(), false); return 0;
    case OptionsAction::Version: answer(versionText() + "\n", false); return 0;
    case OptionsAction::Error:
        answer("swarm: " + options.error + "\nTry 'swarm --help' for the options.\n", true);
        return 2;
    case OptionsAction::Run: break;
    }
    displaySettings = options.display;

    const std::wstring dataFolder = programFolder();
    if (const char* missing = missingDataFile(dataFolder))
        return refuse(std::string("The data file ") + missing + " is missing from " +
                      narrowText(dataFolder) + ".");
    std::wstring scoreFolder;
    std::string  error;
    if (!highScoreFolder(&scoreFolder, &error))
        return refuse(error + ".");
    // A recording's file is named from where the player started the game.
    std::string watched;
    if (!options.watch.empty() && options.watch != "best" &&
        !readWatchedRecording(options.watch, &watched, &error))
        return refuse(error + ".");
    if (!enterFolder(dataFolder))
        return refuse("Cannot read the folder " + narrowText(dataFolder) + ".");

    installWin32Host();
    setSoundFolder(dataFolder);
    soundBackend = &waveOutSoundBackend;
#ifdef SWARM_FRAME_STATS
    startFrameStats(processPeakMemoryKib);
#endif
    if (!createDisplayWindow(&error)) {
        shutDownWin32Host();
        return refuse(error + ".");
    }
    // The pictures are loaded; from here on the game's files by name are the
    // high score's.
    if (!enterFolder(scoreFolder)) {
        destroyDisplayWindow();
        shutDownWin32Host();
        return refuse("Cannot use the folder " + narrowText(scoreFolder) + ".");
    }
    // The best game lies beside the high score.
    if (options.watch == "best" && !readWatchedRecording(options.watch, &watched, &error)) {
        destroyDisplayWindow();
        shutDownWin32Host();
        return refuse(error + ".");
    }
    if (options.watch.empty()) {
        startRecordedRun();
    } else if (!startWatchedRun(watched, &error)) {
        destroyDisplayWindow();
        shutDownWin32Host();
        return refuse(error + ".");
    }
    startGamepads();

    while (!quitRequested) {
        if (runSession.watching)
            handleWatchingWin32Events();
        else
            handleOneWin32Event();
        runFrame();
        finishPass();
    }
    keepBestGame();

#ifdef SWARM_FRAME_STATS
    writeFrameStats();
#endif
    stopGamepads();
    destroyDisplayWindow();
    stopSound();
    shutDownWin32Host();
    return 0;
}
