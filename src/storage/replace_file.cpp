// Replacing a small file safely: written whole to a temporary file beside
// it, flushed to the disk, then renamed over the old one.
#include "storage/replace_file.h"

#include <cerrno>

#include <fcntl.h>
#ifdef _WIN32
#include <windows.h>

#include <direct.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
using ssize_t = long long;

// Windows has no links to refuse here, nor descriptors that a program inherits
// unasked; its files are binary.
constexpr int newFileFlags = O_WRONLY | O_CREAT | O_EXCL | O_BINARY;

int fsync(int fd) { return _commit(fd); }

// Puts the written file in place of the old one and writes that through to
// the disk: rename() fails over an existing file on Windows.
int replaceWith(const char* from, const char* to)
{
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    return GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO;
}

bool isAbsolute(const char* name)
{
    return name[0] == '/' || name[0] == '\\' || (name[0] != '\0' && name[1] == ':');
}
#else
constexpr int newFileFlags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;

int replaceWith(const char* from, const char* to) { return rename(from, to) == 0 ? 0 : errno; }

bool isAbsolute(const char* name) { return name[0] == '/'; }
#endif

// The temporary file of a save: in the same directory, so that the rename is atomic.
std::string temporaryName(const char* fileName) { return std::string(fileName) + ".tmp"; }

// 0, or the errno of the failed write.
int writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC; // nothing written, no error given: the disk is full
        done += static_cast<size_t>(n);
    }
    return 0;
}

} // namespace

int replaceFile(const char* fileName, const std::string& text)
{
    const std::string temp     = temporaryName(fileName);
    const char*       tempName = temp.c_str();
    // A leftover of an earlier save, or a link planted under the temporary
    // name, is removed first; the file is then created anew, never followed.
    unlink(tempName);
    const int fd = open(tempName, newFileFlags, 0666);
    if (fd < 0)
        return errno;
    int error = writeAll(fd, text);
    if (error == 0 && fsync(fd) != 0)
        error = errno;
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0)
        error = replaceWith(tempName, fileName);
    if (error != 0) {
        unlink(tempName);
        return error;
    }
#ifndef _WIN32
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
#endif
    return 0;
}

std::string pathOf(const char* fileName)
{
    char directory[4096];
    if (isAbsolute(fileName) || !getcwd(directory, sizeof directory))
        return fileName;
    return std::string(directory) + (directory[1] != '\0' ? "/" : "") + fileName;
}

void discardUnfinishedReplace(const char* fileName) { unlink(temporaryName(fileName).c_str()); }
