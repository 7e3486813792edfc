// The headless host: virtual clock, capturing swap and a sound backend that
// records what the game plays instead of making a noise.
#include "host/headless/headless_host.h"

#include "gfx/gl.h"
#include "sound/sound.h"
#include "sound/sound_file.h"
#include "system/clock_source.h"
#include "system/services.h"

#include <cstring>

HeadlessHost headlessHost = {};

namespace {

int64_t  virtualCounter() { return static_cast<int64_t>(headlessHost.pass * 10); }
int64_t  virtualFrequency() { return 1000; }
uint32_t virtualTimer() { return static_cast<uint32_t>(headlessHost.pass * 10); }
void     noSleep(double) {}
void     noSleepUntil(int64_t) {}

int64_t virtualCalendar()
{
    return static_cast<int64_t>(headlessHost.calendarStart) +
           static_cast<int64_t>(headlessHost.pass / 100);
}

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

void readPicture(unsigned char* rgb)
{
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, pictureWidth, pictureHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    // OpenGL's rows run bottom to top; pictures are stored top row first.
    const size_t  row = pictureWidth * 3;
    unsigned char tmp[pictureWidth * 3];
    for (int y = 0; y < pictureHeight / 2; ++y) {
        unsigned char* a = rgb + y * row;
        unsigned char* b = rgb + (pictureHeight - 1 - y) * row;
        std::memcpy(tmp, a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, tmp, row);
    }
}

void headlessSwap()
{
    if (headlessHost.picture) {
        readPicture(headlessHost.picture);
        headlessHost.pictureTaken = true;
    }
    glFlush();
}

void installHeadlessHost(uint32_t calendarStart)
{
    headlessHost                 = HeadlessHost{};
    headlessHost.calendarStart   = calendarStart;
    clockSource.counterNow       = virtualCounter;
    clockSource.counterFrequency = virtualFrequency;
    clockSource.millisecondTimer = virtualTimer;
    clockSource.sleepUntil       = noSleepUntil;
    clockSource.sleepMs          = noSleep;
    clockSource.wakeMarginMs     = 0.0;
    clockSource.realTime         = false;
    platform.swapBuffers         = headlessSwap;
    platform.calendarSeconds     = virtualCalendar;
    soundBackend                 = &recordingSoundBackend;
}
