// swarm-sound-probe: loads each sound file named on the command line through
// the game's SDL_mixer backend on SDL's dummy audio driver, prints "loaded" or
// "silent" for each, then the peak resident size ("peak KB"). A process of its
// own, so that the peak is the loading's alone.
#include "host/sdl/mixer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The peak resident size of this program, in KB: the kernel's VmHWM. The
// getrusage peak would not do: it keeps the peak of whoever forked and
// exec'd this program (a test binary of a hundred megabytes under the
// sanitizers).
long peakResidentKb()
{
    std::FILE* status = std::fopen("/proc/self/status", "r");
    long       kb     = -1;
    char       line[256];
    while (status && std::fgets(line, sizeof line, status))
        if (std::strncmp(line, "VmHWM:", 6) == 0)
            kb = std::strtol(line + 6, nullptr, 10);
    if (status)
        std::fclose(status);
    return kb;
}

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!mixerSoundBackend.open()) {
        std::fprintf(stderr, "swarm-sound-probe: no mixer on the dummy driver\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", mixerSoundBackend.load(argv[i], 1) != 0 ? "loaded" : "silent");
    std::printf("peak %ld\n", peakResidentKb());
    mixerSoundBackend.close();
    return 0;
}
