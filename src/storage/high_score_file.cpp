// Reading and safely replacing a high score file.
#include "storage/high_score_file.h"

#include "storage/bounded_file.h"
#include "storage/high_score_format.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The temporary file of a save: in the same directory, so that the rename is atomic.
std::string temporaryName(const char* fileName) { return std::string(fileName) + ".tmp"; }

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
    const std::string temp     = temporaryName(fileName);
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
    BoundedFile file;
    if (!readBoundedFile(fileName, maxHighScoreFileBytes, file))
        return defaultHighScore;
    HighScoreReader reader;
    reader.feed(reinterpret_cast<const char*>(file.bytes.data()), file.bytes.size());
    if (file.whole)
        reader.finish();
    else if (!reader.done())
        return defaultHighScore; // the numbers go on beyond what is read
    if (reader.failed)
        return defaultHighScore;
    return highScoreFromNumbers(reader.first, reader.second, reader.third);
}

void discardUnfinishedWrite(const char* fileName) { unlink(temporaryName(fileName).c_str()); }

bool writeHighScoreFile(const char* fileName, int32_t highScore, int32_t drawnFactor)
{
    return replaceFile(fileName, formatHighScore(highScore, drawnFactor));
}
