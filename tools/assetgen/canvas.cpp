// The raster library's canvas, distance functions and blur.
#include "canvas.h"

#include <algorithm>
#include <cmath>

Canvas::Canvas(int width, int height, Rgba fill)
    : w(width), h(height), p(static_cast<size_t>(width) * height * 4)
{
    for (size_t i = 0; i < p.size(); i += 4) {
        p[i]     = fill.r * fill.a;
        p[i + 1] = fill.g * fill.a;
        p[i + 2] = fill.b * fill.a;
        p[i + 3] = fill.a;
    }
}

void Canvas::put(int x, int y, Rgba c, float cover, Blend mode)
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return;
    float  a = dm::clamp01(c.a) * cover;
    float* d = at(x, y);
    if (mode == Blend::Add) {
        d[0] += c.r * a;
        d[1] += c.g * a;
        d[2] += c.b * a;
        d[3] = std::min(1.0f, d[3] + a);
        return;
    }
    d[0] = c.r * a + d[0] * (1 - a);
    d[1] = c.g * a + d[1] * (1 - a);
    d[2] = c.b * a + d[2] * (1 - a);
    d[3] = a + d[3] * (1 - a);
}

std::vector<uint8_t> Canvas::bytes(int channels) const
{
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * channels);
    auto q = [](float v) { return static_cast<uint8_t>(dm::clamp01(v) * 255.0f + 0.5f); };
    for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) {
        const float* s   = &p[i * 4];
        float        a   = dm::clamp01(s[3]);
        float        inv = (channels == 4 && a > 0) ? 1.0f / a : 1.0f;
        uint8_t*     o   = &out[i * channels];
        o[0]             = q(s[0] * inv);
        o[1]             = q(s[1] * inv);
        o[2]             = q(s[2] * inv);
        if (channels == 4)
            o[3] = q(a);
    }
    return out;
}

void Canvas::draw(const Canvas& src, int x, int y, float opacity)
{
    for (int sy = 0; sy < src.h; ++sy)
        for (int sx = 0; sx < src.w; ++sx) {
            int dx = x + sx, dy = y + sy;
            if (dx < 0 || dy < 0 || dx >= w || dy >= h)
                continue;
            const float* s = src.at(sx, sy);
            float*       d = at(dx, dy);
            float        a = s[3] * opacity;
            for (int k = 0; k < 3; ++k)
                d[k] = s[k] * opacity + d[k] * (1 - a);
            d[3] = a + d[3] * (1 - a);
        }
}

float sdCircle(float px, float py, float cx, float cy, float r)
{
    float dx = px - cx, dy = py - cy;
    return std::sqrt(dx * dx + dy * dy) - r;
}

float sdEllipse(float px, float py, float cx, float cy, float rx, float ry)
{
    float x = (px - cx) / rx, y = (py - cy) / ry;
    float k0 = std::sqrt(x * x + y * y);
    float x1 = (px - cx) / (rx * rx), y1 = (py - cy) / (ry * ry);
    float k1 = std::sqrt(x1 * x1 + y1 * y1);
    if (k1 < 1e-6f)
        return -std::min(rx, ry);
    return k0 * (k0 - 1) / k1;
}

float sdSegment(float px, float py, float ax, float ay, float bx, float by)
{
    float pax = px - ax, pay = py - ay, bax = bx - ax, bay = by - ay;
    float len2 = bax * bax + bay * bay;
    float t    = len2 > 0 ? dm::clamp01((pax * bax + pay * bay) / len2) : 0;
    float dx = pax - bax * t, dy = pay - bay * t;
    return std::sqrt(dx * dx + dy * dy);
}

float sdPolygon(float px, float py, const std::vector<float>& xy)
{
    size_t n      = xy.size() / 2;
    float  d      = 1e30f;
    bool   inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        float xi = xy[i * 2], yi = xy[i * 2 + 1], xj = xy[j * 2], yj = xy[j * 2 + 1];
        d = std::min(d, sdSegment(px, py, xj, yj, xi, yi));
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside ? -d : d;
}

float sdBox(float px, float py, float cx, float cy, float hx, float hy, float round)
{
    float qx = std::fabs(px - cx) - hx + round, qy = std::fabs(py - cy) - hy + round;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - round;
}

static void boxPass(std::vector<float>& v, std::vector<float>& tmp, int w, int h, int r, bool wrap,
                    bool horizontal)
{
    int   n = horizontal ? w : h, lines = horizontal ? h : w;
    float norm = 1.0f / (2 * r + 1);
    for (int line = 0; line < lines; ++line) {
        auto idx = [&](int i) {
            if (wrap)
                i = ((i % n) + n) % n;
            else
                i = std::min(std::max(i, 0), n - 1);
            return horizontal ? static_cast<size_t>(line) * w + i
                              : static_cast<size_t>(i) * w + line;
        };
        double sum = 0;
        for (int i = -r; i <= r; ++i)
            sum += v[idx(i)];
        for (int i = 0; i < n; ++i) {
            tmp[horizontal ? static_cast<size_t>(line) * w + i
                           : static_cast<size_t>(i) * w + line] = static_cast<float>(sum) * norm;
            sum += v[idx(i + r + 1)] - v[idx(i - r)];
        }
    }
    v.swap(tmp);
}

void blurPlane(std::vector<float>& plane, int w, int h, int radius, bool wrap)
{
    if (radius <= 0)
        return;
    std::vector<float> tmp(plane.size());
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(plane, tmp, w, h, radius, wrap, true);
        boxPass(plane, tmp, w, h, radius, wrap, false);
    }
}
