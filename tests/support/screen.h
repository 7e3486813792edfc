// The 640 x 480 picture drawn so far, read back from the display; the two
// projections the screens draw in; and loading the pictures they draw with.
#pragma once
#include "host/picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct Rgba {
    uint8_t r, g, b, a;
};

// The picture, addressed in screen units (origin bottom left): at(x, y) is the
// pixel of the unit square whose lower left corner is (x, y).
class Screen {
  public:
    Screen(); // reads the display back

    Rgba at(int x, int y) const; // alpha is always 255
    bool sameAs(Rgba c, int x, int y) const;

    // Pixels of the box x0 <= x < x1, y0 <= y < y1 that satisfy `test`.
    template <typename Test> int count(int x0, int y0, int x1, int y1, Test test) const
    {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                n += test(at(x, y)) ? 1 : 0;
        return n;
    }

    // Bounding box of the pixels unlike `background`; empty when all match.
    struct Box {
        int  left = pictureWidth, bottom = pictureHeight, right = -1, top = -1;
        bool empty() const { return right < 0; }
    };
    Box inkBox(Rgba background) const;

    bool operator==(const Screen& other) const { return rgb == other.rgb; }

  private:
    std::vector<uint8_t> rgb; // top row first, as the display reads back
};

inline bool isRed(Rgba p) { return p.r > 150 && p.g < 60 && p.b < 60; }
inline bool isWhite(Rgba p) { return p.r > 200 && p.g > 200 && p.b > 200; }
inline bool isBlue(Rgba p) { return p.b > 150 && p.r < 60 && p.g < 60; }

// The orthographic 640 x 480 screen space of every screen after the intro.
void useScreenSpace();
// The intro's perspective view, as the window sets it.
void usePerspective();
void clearScreen(float r, float g, float b);

// Runs loadGraphics with `dir` as the working directory.
void loadGraphicsFrom(const std::string& dir);
// Loads the build's generated graphics.dat, as the game has it. The build
// always makes it, so a picture that does not load is a failure.
::testing::AssertionResult loadGameGraphics();
