// Reading, bounded, and safely replacing the best game's recording.
#include "storage/best_game_file.h"

#include "storage/bounded_file.h"
#include "storage/replace_file.h"

#include <cstdio>
#include <cstring>

bool readBestGameFile(const char* fileName, std::size_t maxBytes, std::string* text,
                      std::string* why)
{
    BoundedFile file;
    if (!readBoundedFile(fileName, maxBytes, file)) {
        *why = "missing, unreadable or not a file";
        return false;
    }
    if (!file.whole) {
        *why = "too long for a recording";
        return false;
    }
    text->assign(file.bytes.begin(), file.bytes.end());
    return true;
}

bool writeBestGameFile(const char* fileName, const std::string& text)
{
    discardUnfinishedReplace(fileName);
    const int error = replaceFile(fileName, text);
    if (error == 0)
        return true;
    std::fprintf(stderr, "swarm: cannot save the best game to %s: %s\n", pathOf(fileName).c_str(),
                 std::strerror(error));
    return false;
}
