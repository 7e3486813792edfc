// Reading one uncompressed true-colour TGA picture out of the graphics archive.
// No OpenGL here, so the byte parsing can be tested and fuzzed on its own.
#pragma once
#include "gfx/images.h"

#include <cstdint>
#include <cstdio>

// The archive's length in bytes, found once by seeking to its end; -1 when the
// stream cannot tell (then every picture fails).
long archiveFileSize(std::FILE* archive);

// Reads the picture whose 18-byte header starts at `offset` into `image`:
// checks the fixed header bytes, stores width and height as soon as they are
// read, the depth once it is known to be 24 or 32, and the pixel bytes with
// B and R exchanged (rows stay bottom first). A picture that claims more pixel
// bytes than the archive holds behind its header fails before any allocation.
// On failure `pixels` is left null. `image` should come in empty.
bool readArchivePicture(std::FILE* archive, long archiveSize, int32_t offset, Image& image);
