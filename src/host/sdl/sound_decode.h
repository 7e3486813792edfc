// Sound files decoded by SDL for the mixer; the checks every host shares are
// in sound/sound_file.h.
#pragma once
#include "sound/sound_file.h"

#include <cstddef>

struct Mix_Chunk;

// The mixer's chunk of the bytes, converted to the open mixer's format, or
// null when they are not usable (soundBytesUsable) or the mixer is not open.
// The bytes may go once it returns.
Mix_Chunk* decodeSound(const unsigned char* data, std::size_t size);
