// Reading and safely replacing a high score file.
#include "storage/high_score_file.h"

#include "storage/high_score_format.h"

#include <cerrno>
#include <cstdio>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

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
bool replaceFile(const char* fileName, const std::string& text)
{
    // In the same directory, so that the rename is atomic.
    const std::string temp     = std::string(fileName) + ".tmp";
    const char*       tempName = temp.c_str();
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
    const std::string path    = fileName;
    const size_t      slash   = path.rfind('/');
    const std::string dirName = slash == std::string::npos ? "."
                                : slash == 0               ? "/"
                                                           : path.substr(0, slash);
    const int         dir     = open(dirName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

} // namespace

int32_t readHighScoreFile(const char* fileName)
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

bool writeHighScoreFile(const char* fileName, int32_t highScore, int32_t drawnFactor)
{
    return replaceFile(fileName, formatHighScore(highScore, drawnFactor));
}
