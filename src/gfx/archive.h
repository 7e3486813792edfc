// Reading one uncompressed true-colour TGA picture out of the graphics archive.
// No OpenGL here, so the byte parsing can be tested and fuzzed on its own.
#pragma once
#include "gfx/archive_layout.h"
#include "gfx/images.h"
#include "storage/bounded_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The most pixel bytes a picture may have: a 2048 x 2048 picture at 32 bits,
// 32 times the game's own logo. A larger claim is damage.
constexpr std::size_t maxPictureBytes = std::size_t(16) << 20;

// The most of graphics.dat that is read: the fixed layout up to the logo and
// the largest logo. Anything beyond is never used.
constexpr std::size_t maxArchiveBytes =
    std::size_t(archiveLayout[logoEntry].offset) + 18 + maxPictureBytes;

// An archive read into memory (at most maxArchiveBytes of it) and opened as a
// stream over those bytes; `stream` is null when the file could not be read.
struct OpenArchive {
    BoundedFile file;
    std::FILE*  stream;
    long        size; // bytes read, or -1 without a stream
};

// Reads the archive at `path` through the bounded reader and opens it; a file
// that is missing, empty or no regular file leaves `stream` null.
void openArchive(const char* path, OpenArchive& archive);
void closeArchive(OpenArchive& archive);

// The archive's length in bytes, found once by seeking to its end; -1 when the
// stream cannot tell (then every picture fails).
long archiveFileSize(std::FILE* archive);

// Reads the picture whose 18-byte header starts at `offset` into `image`:
// checks the fixed header bytes, stores width and height as soon as they are
// read, the depth once it is known to be 24 or 32, and the pixel bytes with
// B and R exchanged (rows stay bottom first). A picture wider or higher than
// maxSide (the largest texture the upload takes), with more than
// maxPictureBytes of pixels, or claiming more pixel bytes than the archive
// holds behind its header fails before any allocation and reads no pixel.
// On failure `pixels` is left null. `image` should come in empty.
bool readArchivePicture(std::FILE* archive, long archiveSize, int32_t offset, uint32_t maxSide,
                        Image& image);
