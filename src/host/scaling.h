// Where the 640 x 480 picture goes on a screen or window of any size, and how
// it is scaled there: whole-number steps, or a 4:3 fill that keeps every
// source pixel equally wide.
#pragma once

// How the 640 x 480 picture fills the screen or window.
enum class ScaleMode {
    Auto,    // Integer where that keeps most of the screen, else Fill
    Integer, // the largest whole-number scale that fits, centred on black
    Fill,    // the largest 4:3 area, every source pixel equally wide
};

// A rectangle of the drawable, in pixels, from its bottom left corner (as
// OpenGL counts).
struct PixelRect {
    int x, y, width, height;
};

struct ScalePlan {
    PixelRect picture; // where the picture lands; black around it
    // Whole-number scale of the nearest-pixel step: the final scale in
    // integer mode; in fill mode the next multiple at or above the final size,
    // drawn into an intermediate of multiple x 640 by multiple x 480 and then
    // filtered down to the picture's size (sharp bilinear). 1 and no filtering
    // step when the fill size is itself a whole multiple.
    int  multiple;
    bool filtered; // false: one nearest-pixel copy straight to the picture
};

// Integer mode is chosen by Auto where its picture is at least this share of
// the fill picture's height, in percent.
constexpr int autoIntegerMinPercent = 85;

// The plan for a drawable of width x height (both at least 1).
ScalePlan planScaling(int width, int height, ScaleMode mode);
