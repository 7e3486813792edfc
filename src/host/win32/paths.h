// Where the Windows host keeps its files: the game's data beside the .exe,
// the high score in the user's roaming application data.
#pragma once
#include <string>

// The folder holding the running .exe, without a trailing backslash.
std::wstring programFolder();

// %APPDATA%\Swarm (FOLDERID_RoamingAppData), made when missing; false with a
// one-line reason when it cannot be had.
bool highScoreFolder(std::wstring* folder, std::string* error);

// Makes `folder` the working directory, where the game opens its files by
// name; false when it cannot.
bool enterFolder(const std::wstring& folder);

// The first of the game's data files missing from `folder` (not a file
// there), or null when all are in place.
const char* missingDataFile(const std::wstring& folder);

// UTF-8 of a wide string, for messages.
std::string narrowText(const std::wstring& text);
