// Replacing a small file (the high score, the best game) without ever
// leaving a damaged one.
#pragma once
#include <string>

// Writes the text to a temporary file beside fileName and puts it in place of
// the old file. Any failure leaves the old file as it was and no temporary
// file behind, and gives the errno of the first step that failed; 0 when the
// file is replaced.
int replaceFile(const char* fileName, const std::string& text);

// Removes the temporary file that a replacement cut short (a crash, a kill)
// leaves beside the file.
void discardUnfinishedReplace(const char* fileName);

// The file's name as the player finds it: a relative name with the directory it is in.
std::string pathOf(const char* fileName);
