// Loading and saving the game's high score.
#include "game/high_score.h"

#include "game/game_data.h"
#include "game/random.h"
#include "storage/high_score_file.h"

namespace {
const char* const fileName = "HighScore.dat";
} // namespace

int32_t loadHighScore()
{
    // A save cut short by a crash leaves its temporary file; nothing else would remove it.
    discardUnfinishedWrite(fileName);
    return readHighScoreFile(fileName);
}

void saveHighScore()
{
    // One draw per save, whether or not the file can be written.
    const int32_t drawnFactor = 3 + randomDraw() % 7;
    writeHighScoreFile(fileName, highScore, drawnFactor);
}
