// The sound backend on SDL2_mixer: channels 1 to 4 are mixer channels 0 to 3.
#pragma once
#include "sound/sound.h"

extern const SoundBackend mixerSoundBackend;
