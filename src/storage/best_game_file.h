// The best game's recording, kept beside the high score file.
#pragma once
#include <cstddef>
#include <string>

// Its name, in the directory that holds HighScore.dat.
constexpr const char* bestGameFileName = "BestGame.keys";

// Reads the file whole when it is a regular file of at most maxBytes; false
// with a short reason in *why when it is missing, unreadable or longer.
bool readBestGameFile(const char* fileName, std::size_t maxBytes, std::string* text,
                      std::string* why);

// Replaces the file with `text`, safely as the high score is; on failure
// keeps the old file, says on standard error why, and returns false.
bool writeBestGameFile(const char* fileName, const std::string& text);
