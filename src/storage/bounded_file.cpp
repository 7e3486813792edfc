// Reading a data file whole, without ever blocking on it, up to a limit.
#include "storage/bounded_file.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>

#include <cctype>
#include <cstring>
#include <string>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

#ifdef _WIN32
using ssize_t = long long;

// The names that Windows takes for a device in any folder and with any
// extension (CON, NUL, COM1.txt ...), and the device namespaces.
bool namesDevice(const char* path)
{
    if (std::strncmp(path, "\\\\.\\", 4) == 0 || std::strncmp(path, "\\\\?\\", 4) == 0)
        return true;
    const char* name = path;
    for (const char* c = path; *c; ++c)
        if (*c == '/' || *c == '\\' || *c == ':')
            name = c + 1;
    std::string base;
    for (const char* c = name; *c && *c != '.' && *c != ' ' && *c != ':'; ++c)
        base += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : devices)
        if (base == device)
            return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           std::isdigit(static_cast<unsigned char>(base[3]));
}

// Opens a file on disk for reading, its size in *size; anything else (a
// folder, a device, a pipe) is refused before or right after opening, so
// that nothing waits on it. INVALID_HANDLE_VALUE when refused or missing.
HANDLE openDiskFile(const char* path, std::size_t* size)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (namesDevice(path) || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)))
        return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return file;
    LARGE_INTEGER bytes = {};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &bytes)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    *size = bytes.QuadPart > 0 ? static_cast<std::size_t>(bytes.QuadPart) : 0;
    return file;
}

// Reads into `buffer` until `size` bytes arrived or the file ends; the count
// read, or -1 on a read error.
ssize_t readFully(HANDLE file, unsigned char* buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const std::size_t left = size - done;
        DWORD             n    = 0;
        if (!ReadFile(file, buffer + done, left < 0x40000000 ? DWORD(left) : 0x40000000, &n,
                      nullptr))
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return static_cast<ssize_t>(done);
}
#else

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

// Opens a regular file (or a link to one) for reading, its size in *size;
// anything else is refused. A look before opening, so that a device is never
// even opened (opening one can have effects of its own); the open file is
// checked again, as the name may have changed in between. -1 when refused.
int openDiskFile(const char* path, std::size_t* size)
{
    struct stat info = {};
    if (!path || stat(path, &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    *size = info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 0;
    return fd;
}
#endif

} // namespace

bool readBoundedFile(const char* path, std::size_t maxBytes, BoundedFile& file)
{
    file.bytes.clear();
    file.whole          = false;
    std::size_t claimed = 0; // what the file says it holds
#ifdef _WIN32
    const HANDLE fd = path ? openDiskFile(path, &claimed) : INVALID_HANDLE_VALUE;
    if (fd == INVALID_HANDLE_VALUE)
        return false;
#else
    const int fd = path ? openDiskFile(path, &claimed) : -1;
    if (fd < 0)
        return false;
#endif
    // First what the file says it holds, within the limit; then on until
    // it ends or the limit is reached, in case it has grown meanwhile.
    const std::size_t first = claimed < maxBytes ? claimed : maxBytes;
    file.bytes.resize(first);
    const ssize_t n  = readFully(fd, file.bytes.data(), first);
    bool          ok = n >= 0;
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
#ifdef _WIN32
    CloseHandle(fd);
#else
    close(fd);
#endif
    if (!ok) {
        file.bytes.clear();
        file.whole = false;
    }
    return ok;
}
