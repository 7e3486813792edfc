// Stroke shapes of the letters used by the banner and the logo, and their layout.
#include "lettering.h"

#include "canvas.h"

#include <algorithm>

namespace {

using Line = std::vector<float>; // x, y pairs in a box of height 1, y downward

struct Glyph {
    float             width;
    std::vector<Line> lines;
};

Line arc(float cx, float cy, float rx, float ry, float from, float to, int steps = 14)
{
    Line l;
    for (int i = 0; i <= steps; ++i) {
        double a = (from + (to - from) * i / steps) * dm::PI / 180.0;
        l.push_back(cx + rx * static_cast<float>(dm::cosD(a)));
        l.push_back(cy + ry * static_cast<float>(dm::sinD(a)));
    }
    return l;
}

Line join(Line a, const Line& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Glyph glyphFor(char c)
{
    switch (c) {
    case 'T': return {0.7f, {{0, 0, 0.7f, 0}, {0.35f, 0, 0.35f, 1}}};
    case 'H': return {0.66f, {{0, 0, 0, 1}, {0.66f, 0, 0.66f, 1}, {0, 0.5f, 0.66f, 0.5f}}};
    case 'E': return {0.56f, {{0.56f, 0, 0, 0, 0, 1, 0.56f, 1}, {0, 0.5f, 0.46f, 0.5f}}};
    case 'S':
        return {0.62f,
                {join(arc(0.31f, 0.25f, 0.31f, 0.25f, -30, -270),
                      arc(0.31f, 0.75f, 0.31f, 0.25f, -90, 150))}};
    case 'W': return {0.95f, {{0, 0, 0.22f, 1, 0.475f, 0.32f, 0.73f, 1, 0.95f, 0}}};
    case 'A': return {0.74f, {{0, 1, 0.37f, 0, 0.74f, 1}, {0.15f, 0.64f, 0.59f, 0.64f}}};
    case 'R':
        return {
            0.64f,
            {join(join(Line{0, 1, 0, 0, 0.36f, 0}, arc(0.36f, 0.25f, 0.26f, 0.25f, -90, 90, 10)),
                  Line{0, 0.5f}),
             {0.34f, 0.5f, 0.64f, 1}}};
    case 'M': return {0.88f, {{0, 1, 0, 0, 0.44f, 0.62f, 0.88f, 0, 0.88f, 1}}};
    case 'P':
        return {
            0.62f,
            {join(join(Line{0, 1, 0, 0, 0.36f, 0}, arc(0.36f, 0.25f, 0.26f, 0.25f, -90, 90, 10)),
                  Line{0, 0.5f})}};
    case 'N': return {0.68f, {{0, 1, 0, 0, 0.68f, 1, 0.68f, 0}}};
    case '!': return {0.0f, {{0, 0, 0, 0.6f}, {0, 0.97f, 0, 0.97f}}};
    case 'w': return {0.82f, {{0, 0.4f, 0.19f, 1, 0.41f, 0.58f, 0.63f, 1, 0.82f, 0.4f}}};
    case 'a':
        return {0.56f, {arc(0.27f, 0.71f, 0.27f, 0.29f, 0, 360, 20), {0.56f, 0.42f, 0.56f, 1}}};
    case 'r':
        return {
            0.42f,
            {{0, 0.42f, 0, 1}, join(Line{0, 0.75f}, arc(0.32f, 0.72f, 0.32f, 0.3f, 180, 300, 8))}};
    case 'm':
        return {0.86f,
                {{0, 0.42f, 0, 1},
                 join(arc(0.215f, 0.64f, 0.215f, 0.22f, 180, 360, 10), Line{0.43f, 1}),
                 join(arc(0.645f, 0.64f, 0.215f, 0.22f, 180, 360, 10), Line{0.86f, 1})}};
    default: return {0.5f, {}};
    }
}

} // namespace

float Lettering::distance(float x, float y) const
{
    float d = 1e9f;
    for (const Segment& s : segments)
        d = std::min(d, sdSegment(x, y, s.ax, s.ay, s.bx, s.by));
    return d;
}

Lettering layoutText(const std::string& text, float x, float y, float height, float tracking)
{
    Lettering out;
    float     pen = x;
    for (char c : text) {
        Glyph g = glyphFor(c);
        for (const Line& l : g.lines) {
            if (l.size() == 2)
                out.segments.push_back({pen + l[0] * height, y + l[1] * height, pen + l[0] * height,
                                        y + l[1] * height});
            for (size_t i = 0; i + 3 < l.size(); i += 2)
                out.segments.push_back({pen + l[i] * height, y + l[i + 1] * height,
                                        pen + l[i + 2] * height, y + l[i + 3] * height});
        }
        pen += g.width * height + tracking;
    }
    out.width = pen - tracking - x;
    return out;
}
