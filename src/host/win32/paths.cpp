// The .exe's own folder for the data, %APPDATA%\Swarm for the high score.
#include "host/win32/paths.h"

#include "sound/sound_effects.h"

#include <windows.h>

#include <cstring>
#include <knownfolders.h>
#include <shlobj.h>

std::wstring programFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return L".";
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

bool highScoreFolder(std::wstring* folder, std::string* error)
{
    PWSTR roaming = nullptr;
    if (FAILED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_CREATE, nullptr, &roaming))) {
        CoTaskMemFree(roaming);
        *error = "The folder for application data (%APPDATA%) is not known";
        return false;
    }
    *folder = std::wstring(roaming) + L"\\Swarm";
    CoTaskMemFree(roaming);
    if (!CreateDirectoryW(folder->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        *error = "Cannot make the folder " + narrowText(*folder);
        return false;
    }
    const DWORD attributes = GetFileAttributesW(folder->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        *error = narrowText(*folder) + " is not a folder";
        return false;
    }
    return true;
}

bool enterFolder(const std::wstring& folder) { return SetCurrentDirectoryW(folder.c_str()) != 0; }

const char* missingDataFile(const std::wstring& folder)
{
    static const char* const names[] = {"graphics.dat",           playerShotEffect.fileName,
                                        enemyShotEffect.fileName, enemyExplodeEffect.fileName,
                                        extraShipEffect.fileName, shipExplodeEffect.fileName};
    for (const char* name : names) {
        const std::wstring path = folder + L"\\" + std::wstring(name, name + std::strlen(name));
        const DWORD        attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return name;
    }
    return nullptr;
}

std::string narrowText(const std::wstring& text)
{
    const int   size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size,
                            nullptr, nullptr);
    return out;
}
