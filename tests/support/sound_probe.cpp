// swarm-sound-probe: loads each sound file named on the command line through
// the game's SDL_mixer backend on SDL's dummy audio driver, prints "loaded" or
// "silent" for each, then the peak resident size ("peak KB"). A process of its
// own, so that the peak is the loading's alone.
#include "sound/sdl/mixer.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!mixerSoundBackend.open()) {
        std::fprintf(stderr, "swarm-sound-probe: no mixer on the dummy driver\n");
        return 2;
    }
    for (int i = 1; i < argc; ++i)
        std::printf("%s\n", mixerSoundBackend.load(argv[i], 1) != 0 ? "loaded" : "silent");
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak %ld\n", usage.ru_maxrss);
    mixerSoundBackend.close();
    return 0;
}
