// Reading a sound file within its limit.
#include "sound/sound_file.h"

bool readSoundFile(const char* fileName, BoundedFile& file)
{
    return readBoundedFile(fileName, maxSoundFileBytes, file) && file.whole;
}
