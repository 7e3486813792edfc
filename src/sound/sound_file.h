// Sound files as the game takes them: read without blocking and within a
// limit, a RIFF WAVE that the host decodes, and short, so that no file can
// hang the game or fill its memory. A file that fails any of these stays
// silent.
#pragma once
#include "storage/bounded_file.h"

#include <cstddef>

// The most of a sound file that is read: 10 s of 96 kHz 16-bit stereo. A
// longer file is refused.
constexpr std::size_t maxSoundFileBytes = std::size_t(4) << 20;

// The longest sound played. Its length once converted to the mixer's rate
// is what a sound costs in memory, so a file claiming a low rate (1 Hz makes
// every byte a second) is refused before it is converted.
constexpr int maxSoundSeconds = 10;

// Reads `fileName` through the bounded reader; true when it is a regular file
// of at most maxSoundFileBytes.
bool readSoundFile(const char* fileName, BoundedFile& file);

// True when `data` is a RIFF WAVE that the host's decoder takes and that
// lasts at most maxSoundSeconds at its own rate. Each host defines it with
// its own decoder.
bool soundBytesUsable(const unsigned char* data, std::size_t size);
