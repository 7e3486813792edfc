// The Windows host's sound backend: the four game channels mixed in software
// (host/win32/channel_mix.h) and played through waveOut. Without a sound
// device, one line in the log and silent play.
#pragma once
#include "sound/sound.h"

#include <string>

extern const SoundBackend waveOutSoundBackend;

// Where the sound files are read from, whatever the working directory.
void setSoundFolder(const std::wstring& folder);
