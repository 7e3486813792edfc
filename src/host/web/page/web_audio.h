// The game's sound backend in the browser, on Web Audio: four channels, a
// new sound on a channel replacing the old one with the native mixer's
// short fade. Browsers let audio start only with a key press or tap: until
// then every sound is silent.
#pragma once
#include "sound/sound.h"

extern const SoundBackend webAudioBackend;
