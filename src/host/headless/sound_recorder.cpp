// The headless host's sound backend: records what the game plays instead of
// making a noise.
#include "host/headless/headless_host.h"

#include "sound/sound.h"
#include "sound/sound_file.h"

namespace {

// Every sound "loads", so the record shows what the game asked for whether
// or not its files are there. Each file is still read and checked as the
// game's mixer does, and one the game would leave silent is noted.
std::vector<std::string> loadedNames; // sound id n is loadedNames[n - 1]

bool recorderOpen()
{
    loadedNames.clear();
    return true;
}

int32_t recorderLoad(const char* fileName, int32_t)
{
    BoundedFile file;
    if (!readSoundFile(fileName, file) || !soundBytesUsable(file.bytes.data(), file.bytes.size()))
        headlessHost.silentSounds.push_back(fileName);
    loadedNames.push_back(fileName);
    return static_cast<int32_t>(loadedNames.size());
}

void recorderPlay(int32_t id, int32_t channel)
{
    if (id >= 1 && static_cast<size_t>(id) <= loadedNames.size())
        headlessHost.soundCalls.push_back({channel, loadedNames[static_cast<size_t>(id) - 1]});
}

void recorderClose() { loadedNames.clear(); }

const SoundBackend recordingSoundBackend = {recorderOpen, recorderLoad, recorderPlay,
                                            recorderClose};

} // namespace

void installSoundRecorder() { soundBackend = &recordingSoundBackend; }
