// Counts the frames of an SDL2 program it is preloaded into: every
// SDL_GL_SwapWindow writes the CLOCK_MONOTONIC time, in ms, as one line to the
// file named by SWAP_COUNT_FILE.
//   LD_PRELOAD=swap_count.so SWAP_COUNT_FILE=FILE PROGRAM
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void SDL_GL_SwapWindow(void* window)
{
    using SwapFn            = void (*)(void*);
    static SwapFn      real = reinterpret_cast<SwapFn>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
    static const char* path = std::getenv("SWAP_COUNT_FILE");
    static std::FILE*  out  = path ? std::fopen(path, "w") : nullptr;
    real(window);
    if (out) {
        timespec t = {};
        clock_gettime(CLOCK_MONOTONIC, &t);
        std::fprintf(out, "%.3f\n", static_cast<double>(t.tv_sec) * 1000.0 + t.tv_nsec / 1e6);
        std::fflush(out);
    }
}
