// The sound backend on SDL2_mixer: game channel c (1 to 4) owns mixer channels
// 3(c - 1) to 3(c - 1) + 2, one playing and the others fading the replaced sounds.
#pragma once
#include "sound/sound.h"

extern const SoundBackend mixerSoundBackend;
