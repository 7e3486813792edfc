// Reading a data file whole, without ever blocking on it, up to a limit.
#include "storage/bounded_file.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Reads into `buffer` until `size` bytes arrived or the file ends; the count
// read, or -1 on a read error.
ssize_t readFully(int fd, unsigned char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

} // namespace

bool readBoundedFile(const char* path, std::size_t maxBytes, BoundedFile& file)
{
    file.bytes.clear();
    file.whole = false;
    // A look before opening, so that a device is never even opened (opening
    // one can have effects of its own); the open file is checked again below,
    // as the name may have changed in between.
    struct stat info = {};
    if (!path || stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        // First what the file says it holds, within the limit; then on until
        // it ends or the limit is reached, in case it has grown meanwhile.
        const std::size_t claimed = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
        const std::size_t first   = claimed < maxBytes ? claimed : maxBytes;
        file.bytes.resize(first);
        const ssize_t n = readFully(fd, file.bytes.data(), first);
        ok              = n >= 0;
        file.bytes.resize(ok ? static_cast<std::size_t>(n) : 0);
        file.whole = ok && file.bytes.size() < first; // it ended sooner than it said
        unsigned char piece[65536];
        while (ok && !file.whole) {
            const std::size_t room = maxBytes - file.bytes.size();
            // At the limit, one byte more tells whether the file goes on.
            const std::size_t want = room == 0 ? 1 : room < sizeof piece ? room : sizeof piece;
            const ssize_t     more = readFully(fd, piece, want);
            ok                     = more >= 0;
            if (more == 0)
                file.whole = true;
            else if (room == 0)
                break;
            else if (more > 0)
                file.bytes.insert(file.bytes.end(), piece, piece + more);
        }
    }
    close(fd);
    if (!ok) {
        file.bytes.clear();
        file.whole = false;
    }
    return ok;
}
