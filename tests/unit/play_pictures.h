// Test helpers for pictures of the play screen: the game's own graphics loaded
// once from the generated data directory, the screen projection, and the
// screen read back as pixels addressed in screen units (origin bottom left).
#pragma once
#include "app/sdl/display.h"
#include "gfx/gl.h"
#include "gfx/images.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace playtest {

// Loads graphics.dat of the build once per process; false when it has not
// been generated.
inline bool gameGraphicsLoaded()
{
    static int loaded = 0; // 0 not tried, 1 loaded, -1 missing
    if (loaded == 0) {
        const std::string dir = SWARM_DATA_DIR;
        struct stat       info;
        if (stat((dir + "/graphics.dat").c_str(), &info) != 0) {
            loaded = -1;
        } else {
            char       previous[4096];
            const bool haveCwd = getcwd(previous, sizeof previous) != nullptr;
            if (chdir(dir.c_str()) == 0) {
                loadGraphics();
                loaded = shipSheet.texture != 0 ? 1 : -1;
            } else {
                loaded = -1;
            }
            if (haveCwd && chdir(previous) != 0)
                loaded = -1;
        }
    }
    return loaded == 1;
}

// The orthographic 640 x 480 screen space of every screen after the intro.
inline void screenProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 640, 0, 480);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

struct Pixel {
    int r, g, b;
};

// The picture drawn so far.
class Screen {
  public:
    Screen() : rgb(640 * 480 * 3) { readDisplayPixels(rgb.data()); }

    // Pixel of the unit square whose lower left corner is (x, y).
    Pixel at(int x, int y) const
    {
        const size_t i = (static_cast<size_t>(479 - y) * 640 + static_cast<size_t>(x)) * 3;
        return {rgb[i], rgb[i + 1], rgb[i + 2]};
    }

    // Pixels of the box x0 <= x < x1, y0 <= y < y1 that satisfy `test`.
    template <typename Test> int count(int x0, int y0, int x1, int y1, Test test) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (test(at(x, y)))
                    ++n;
        return n;
    }

    // Pixels of the box that differ from another picture.
    int differences(const Screen& other, int x0, int y0, int x1, int y1) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const Pixel a = at(x, y), b = other.at(x, y);
                if (a.r != b.r || a.g != b.g || a.b != b.b)
                    ++n;
            }
        return n;
    }

  private:
    std::vector<unsigned char> rgb;
};

inline bool isRed(Pixel p) { return p.r > 150 && p.g < 60 && p.b < 60; }
inline bool isWhite(Pixel p) { return p.r > 200 && p.g > 200 && p.b > 200; }
inline bool isBlue(Pixel p) { return p.b > 150 && p.r < 60 && p.g < 60; }
inline bool isGreen(Pixel p) { return p.g > 150 && p.r < 60 && p.b < 60; }

} // namespace playtest

#define SKIP_WITHOUT_GAME_GRAPHICS()                                                               \
    do {                                                                                           \
        if (!playtest::gameGraphicsLoaded())                                                       \
            GTEST_SKIP() << "graphics.dat has not been generated in this build";                   \
    } while (0)
