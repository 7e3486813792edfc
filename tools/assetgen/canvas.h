// A tiny raster library: float RGBA canvas, anti-aliased shapes from distance functions.
#pragma once
#include "dmath.h"

#include <cstdint>
#include <vector>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};
inline Rgba rgba(float r, float g, float b, float a = 1) { return Rgba{r, g, b, a}; }
inline Rgba lerp(Rgba x, Rgba y, float t)
{
    return Rgba{dm::mix(x.r, y.r, t), dm::mix(x.g, y.g, t), dm::mix(x.b, y.b, t),
                dm::mix(x.a, y.a, t)};
}
inline Rgba scaled(Rgba c, float k) { return Rgba{c.r * k, c.g * k, c.b * k, c.a}; }
inline Rgba withAlpha(Rgba c, float a) { return Rgba{c.r, c.g, c.b, a}; }

// Maps design coordinates to pixels: pixel = origin + scale * design (y grows downward).
struct View {
    float ox = 0, oy = 0, sx = 1, sy = 1;
    float pixelScale() const { return sx < sy ? sx : sy; }
};

enum class Blend { Over, Add };

// Premultiplied RGBA in floats, top row first.
struct Canvas {
    int                w, h;
    std::vector<float> p;
    Canvas(int width, int height, Rgba fill = Rgba{});
    float*       at(int x, int y) { return &p[(static_cast<size_t>(y) * w + x) * 4]; }
    const float* at(int x, int y) const { return &p[(static_cast<size_t>(y) * w + x) * 4]; }
    void         put(int x, int y, Rgba c, float cover, Blend mode = Blend::Over);
    // 8-bit straight-alpha bytes, top row first, 3 or 4 channels.
    std::vector<uint8_t> bytes(int channels) const;
    // Draws `src` over this canvas with its top left corner at (x, y).
    void draw(const Canvas& src, int x, int y, float opacity = 1);
};

// Distance functions (negative inside), in design units.
float sdCircle(float px, float py, float cx, float cy, float r);
float sdEllipse(float px, float py, float cx, float cy, float rx, float ry);
float sdSegment(float px, float py, float ax, float ay, float bx, float by);
float sdPolygon(float px, float py, const std::vector<float>& xy);
float sdBox(float px, float py, float cx, float cy, float hx, float hy, float round = 0);

// Fills the shape `sdf` (design coordinates) over the design box x0..x1, y0..y1,
// coloured by `paint(x, y)`, with one pixel of anti-aliased edge.
template <class Sdf, class Paint>
void fillShape(Canvas& cv, const View& v, float x0, float y0, float x1, float y1, Sdf sdf,
               Paint paint, Blend mode = Blend::Over)
{
    int px0 = static_cast<int>(std::floor(v.ox + v.sx * x0)) - 1;
    int py0 = static_cast<int>(std::floor(v.oy + v.sy * y0)) - 1;
    int px1 = static_cast<int>(std::floor(v.ox + v.sx * x1)) + 2;
    int py1 = static_cast<int>(std::floor(v.oy + v.sy * y1)) + 2;
    if (px0 < 0)
        px0 = 0;
    if (py0 < 0)
        py0 = 0;
    if (px1 > cv.w)
        px1 = cv.w;
    if (py1 > cv.h)
        py1 = cv.h;
    float k = v.pixelScale();
    for (int y = py0; y < py1; ++y)
        for (int x = px0; x < px1; ++x) {
            float dx = (x + 0.5f - v.ox) / v.sx, dy = (y + 0.5f - v.oy) / v.sy;
            float cover = dm::clamp01(0.5f - sdf(dx, dy) * k);
            if (cover > 0)
                cv.put(x, y, paint(dx, dy), cover, mode);
        }
}

template <class Sdf>
void fillShape(Canvas& cv, const View& v, float x0, float y0, float x1, float y1, Sdf sdf, Rgba c,
               Blend mode = Blend::Over)
{
    fillShape(
        cv, v, x0, y0, x1, y1, sdf, [c](float, float) { return c; }, mode);
}

// A soft halo around the shape: opacity strength * exp(-distance / radius) outside, strength
// inside.
template <class Sdf>
void glowShape(Canvas& cv, const View& v, float x0, float y0, float x1, float y1, Sdf sdf, Rgba c,
               float radius, float strength, Blend mode = Blend::Over)
{
    fillShape(
        cv, v, x0 - radius * 4, y0 - radius * 4, x1 + radius * 4, y1 + radius * 4,
        [&](float x, float y) { return sdf(x, y) - radius * 8; },
        [&](float x, float y) {
            float d = sdf(x, y);
            float a = d <= 0 ? strength : strength * static_cast<float>(dm::expD(-d / radius));
            return withAlpha(c, c.a * a);
        },
        mode);
}

// Separable box blur of one float plane, three passes (close to a Gaussian).
void blurPlane(std::vector<float>& plane, int w, int h, int radius, bool wrap);
