// Sound files as the Windows host plays them: a WAV of plain samples that
// lasts at most maxSoundSeconds, decoded by the portable reader.
#include "sound/sound_file.h"
#include "sound/wav_format.h"

bool soundBytesUsable(const unsigned char* data, std::size_t size)
{
    WavSamples wav = {};
    return size <= maxSoundFileBytes && parseWav(data, size, &wav) &&
           wav.frames <= std::size_t(maxSoundSeconds) * std::size_t(wav.rate);
}
