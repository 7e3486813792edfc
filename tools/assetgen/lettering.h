// Bold stroke lettering for the banner and the logo: text as a list of capsule segments.
#pragma once
#include <string>
#include <vector>

struct Segment {
    float ax, ay, bx, by;
};

struct Lettering {
    std::vector<Segment> segments;
    float                width = 0; // laid-out width, in the units of `height`
    // Distance from (x, y) to the nearest stroke centre line.
    float distance(float x, float y) const;
};

// Lays out `text` with its cap height `height`, top of the capitals at y, starting at x;
// `tracking` is the extra space between letters. Letters it has no strokes for are skipped.
Lettering layoutText(const std::string& text, float x, float y, float height, float tracking);
