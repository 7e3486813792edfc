// Reading and safely replacing a high score file.
#include "storage/high_score_file.h"

#include "storage/bounded_file.h"
#include "storage/high_score_format.h"
#include "storage/replace_file.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The high score held by the first bytes of a file, all of it when `whole`.
int32_t heldInBytes(const unsigned char* data, size_t size, bool whole)
{
    HighScoreReader reader;
    reader.feed(reinterpret_cast<const char*>(data), size);
    if (whole)
        reader.finish();
    else if (!reader.done())
        return noHighScore; // the numbers go on beyond what is read
    if (reader.failed)
        return noHighScore;
    return heldHighScore(reader.first, reader.second, reader.third);
}

} // namespace

HighScoreSwitch highScoreSwitch;

int32_t readHighScoreFile(const char* fileName)
{
    if (highScoreSwitch.startFrom != noHighScore)
        return highScoreSwitch.startFrom;
    BoundedFile file;
    if (!readBoundedFile(fileName, maxHighScoreFileBytes, file))
        return defaultHighScore;
    const int32_t held = heldInBytes(file.bytes.data(), file.bytes.size(), file.whole);
    return held == noHighScore ? defaultHighScore : held;
}

int32_t highScoreOfBytes(const unsigned char* data, size_t size)
{
    const bool whole = size <= maxHighScoreFileBytes;
    return heldInBytes(data, whole ? size : maxHighScoreFileBytes, whole);
}

void discardUnfinishedWrite(const char* fileName) { discardUnfinishedReplace(fileName); }

bool writeHighScoreFile(const char* fileName, int32_t highScore, int32_t drawnFactor)
{
    if (!highScoreSwitch.saves)
        return true;
    const int error = replaceFile(fileName, formatHighScore(highScore, drawnFactor));
    if (error == 0) {
        highScoreSwitch.lastSaved = highScore;
        return true;
    }
    // The game plays on; the player learns that this save is lost, and why.
    std::fprintf(stderr, "swarm: cannot save the high score to %s: %s\n", pathOf(fileName).c_str(),
                 std::strerror(error));
    return false;
}
