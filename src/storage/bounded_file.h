// Reading a data file whole, without ever blocking on it and with a limit on
// how much of it is read, so that no file can hang the game or fill memory.
#pragma once
#include <cstddef>
#include <vector>

struct BoundedFile {
    std::vector<unsigned char> bytes; // the first bytes of the file, at most the limit
    bool                       whole; // false: the file goes on beyond the limit
};

// Reads up to maxBytes of `path` into `file`. Only a regular file (or a link
// to one) is read: a directory, FIFO, socket or device is refused without
// being read, and opening never waits (O_NONBLOCK). False, with `file`
// emptied, when the file is missing, not a regular file or cannot be read.
bool readBoundedFile(const char* path, std::size_t maxBytes, BoundedFile& file);
