// The high score file "HighScore.dat" in the working directory: read once at start, written on
// quit.
#include "storage/high_score.h"

#include "game/game_data.h"
#include "game/random.h"
#include "storage/high_score_format.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

const char* const fileName = "HighScore.dat";
const char* const tempName = "HighScore.dat.tmp"; // same directory, so the rename is atomic

bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Writes the text to the temporary file and puts it in place of the old file.
// Any failure leaves the old file as it was and no temporary file behind.
bool replaceFile(const std::string& text)
{
    // A leftover of an earlier save, or a link planted under the temporary
    // name, is removed first; the file is then created anew, never followed.
    unlink(tempName);
    const int fd = open(tempName, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, text) && fsync(fd) == 0;
    ok      = close(fd) == 0 && ok;
    if (ok)
        ok = rename(tempName, fileName) == 0;
    if (!ok) {
        unlink(tempName);
        return false;
    }
    // Make the rename itself durable; a failure here loses nothing.
    const int dir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

} // namespace

int32_t loadHighScore()
{
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file)
        return defaultHighScore;
    // Read piece by piece until the three numbers are known, so that a huge
    // file costs no memory.
    HighScoreReader reader;
    char            buffer[4096];
    while (!reader.done()) {
        const size_t n = std::fread(buffer, 1, sizeof buffer, file);
        reader.feed(buffer, n);
        if (n < sizeof buffer)
            break;
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    reader.finish();
    if (readError || reader.failed)
        return defaultHighScore;
    return highScoreFromNumbers(reader.first, reader.second, reader.third);
}

void saveHighScore()
{
    // One draw per save, whether or not the file can be written.
    const int32_t drawnFactor = 3 + randomDraw() % 7;
    replaceFile(formatHighScore(highScore, drawnFactor));
}
