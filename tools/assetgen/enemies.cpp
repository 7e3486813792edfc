// The nine insect enemies and the shock ring drawn over a destroyed enemy.
#include "art.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

const View unitView{};
using Pattern = std::function<float(float, float)>;

float mirror(float x) { return 64 - x; }

float sdEllipseRot(float px, float py, float cx, float cy, float rx, float ry, float degrees)
{
    double a = degrees * dm::PI / 180.0;
    float  c = static_cast<float>(dm::cosD(a)), s = static_cast<float>(dm::sinD(a));
    float  dx = px - cx, dy = py - cy;
    return sdEllipse(dx * c + dy * s, -dx * s + dy * c, 0, 0, rx, ry);
}

// Lit like a glossy dome seen from above, light from the top of the picture.
Rgba shade(float nx, float ny, Rgba base, float shine)
{
    float r2       = std::min(1.0f, nx * nx + ny * ny);
    float nz       = std::sqrt(1 - r2);
    float lambert  = std::max(0.0f, -0.5f * ny + 0.87f * nz);
    float h        = std::max(0.0f, -0.35f * ny + 0.94f * nz);
    float specular = h * h;
    specular *= specular;
    specular *= specular;
    specular *= specular;
    specular *= specular; // h^32
    float k = 0.3f + 0.8f * lambert;
    return rgba(std::min(1.0f, base.r * k + shine * specular),
                std::min(1.0f, base.g * k + shine * specular),
                std::min(1.0f, base.b * k + shine * specular), base.a);
}

const Rgba darkInk = rgba(0.05f, 0.03f, 0.08f);

// A shaded body segment with a dark outline; `pattern` mixes in a second colour.
void blob(Canvas& cv, float cx, float cy, float rx, float ry, Rgba base, float shine = 0.7f,
          Pattern pattern = nullptr, Rgba second = darkInk)
{
    auto sdf = [=](float x, float y) { return sdEllipse(x, y, cx, cy, rx, ry); };
    fillShape(
        cv, unitView, cx - rx - 2, cy - ry - 2, cx + rx + 2, cy + ry + 2,
        [&](float x, float y) { return sdf(x, y) - 1.0f; }, darkInk);
    fillShape(cv, unitView, cx - rx, cy - ry, cx + rx, cy + ry, sdf, [&](float x, float y) {
        Rgba c = base;
        if (pattern)
            c = lerp(base, second, dm::clamp01(pattern(x, y)));
        return shade((x - cx) / rx, (y - cy) / ry, c, shine);
    });
}

void blobPair(Canvas& cv, float cx, float cy, float rx, float ry, Rgba base, float shine = 0.7f)
{
    blob(cv, cx, cy, rx, ry, base, shine);
    blob(cv, mirror(cx), cy, rx, ry, base, shine);
}

// A jointed limb on both sides: a polyline of capsules with an outline.
void limbs(Canvas& cv, std::vector<float> pts, float width, Rgba colour)
{
    for (int side = 0; side < 2; ++side) {
        std::vector<float> p = pts;
        if (side)
            for (size_t i = 0; i < p.size(); i += 2)
                p[i] = mirror(p[i]);
        auto sdf = [&](float x, float y) {
            float d = 1e9f;
            for (size_t i = 0; i + 3 < p.size(); i += 2) {
                float w =
                    width * (1.0f - 0.35f * static_cast<float>(i) / static_cast<float>(p.size()));
                d = std::min(d, sdSegment(x, y, p[i], p[i + 1], p[i + 2], p[i + 3]) - w);
            }
            return d;
        };
        fillShape(
            cv, unitView, 0, 0, 64, 64, [&](float x, float y) { return sdf(x, y) - 0.8f; },
            darkInk);
        fillShape(cv, unitView, 0, 0, 64, 64, sdf, colour);
    }
}

// A pair of translucent wings with a few veins and a brighter rim.
void wings(Canvas& cv, float cx, float cy, float rx, float ry, float degrees, Rgba colour,
           Pattern pattern = nullptr, Rgba second = darkInk)
{
    for (int side = 0; side < 2; ++side) {
        float x0 = side ? mirror(cx) : cx, ang = side ? -degrees : degrees;
        auto  sdf = [=](float x, float y) { return sdEllipseRot(x, y, x0, cy, rx, ry, ang); };
        fillShape(cv, unitView, 0, 0, 64, 64, sdf, [&](float x, float y) {
            float d = -sdf(x, y);
            Rgba  c = colour;
            if (pattern) {
                float px = side ? mirror(x) : x;
                c        = lerp(colour, second, dm::clamp01(pattern(px, y)));
            }
            float rim = d < 1.2f ? 0.35f : 0.0f;
            // veins: bands of the distance to the rim
            float vein = std::fabs(d - std::floor(d / 3.0f) * 3.0f - 1.5f) < 0.35f ? 0.12f : 0.0f;
            return rgba(std::min(1.0f, c.r + rim), std::min(1.0f, c.g + rim),
                        std::min(1.0f, c.b + rim), std::min(1.0f, c.a + rim + vein));
        });
    }
}

void eyes(Canvas& cv, float cx, float cy, float r, Rgba colour)
{
    blobPair(cv, cx, cy, r, r, colour, 1.0f);
}

void drawScarab(Canvas& cv)
{
    Rgba green = rgba(0.1f, 0.75f, 0.4f);
    limbs(cv, {36, 42, 46, 46, 50, 56}, 1.6f, rgba(0.1f, 0.3f, 0.2f));
    limbs(cv, {38, 35, 51, 33, 58, 41}, 1.6f, rgba(0.1f, 0.3f, 0.2f));
    limbs(cv, {38, 27, 51, 21, 57, 10}, 1.6f, rgba(0.1f, 0.3f, 0.2f));
    limbs(cv, {34, 53, 39, 59, 43, 59}, 0.9f, rgba(0.6f, 0.9f, 0.3f));
    blobPair(cv, 43.5f, 59, 2.3f, 2.3f, rgba(0.7f, 0.95f, 0.3f));
    blob(cv, 32, 50, 7, 5.5f, rgba(0.05f, 0.45f, 0.3f));
    fillShape(
        cv, unitView, 28, 52, 36, 63,
        [](float x, float y) {
            return sdPolygon(x, y, {29.5f, 54, 34.5f, 54, 32, 62});
        },
        rgba(0.85f, 0.95f, 0.4f));
    eyes(cv, 27, 51, 1.7f, rgba(1, 0.85f, 0.2f));
    blob(cv, 32, 40, 12, 7, green);
    blobPair(cv, 26, 22, 6.8f, 14, rgba(0.15f, 0.85f, 0.5f), 0.9f);
    fillShape(
        cv, unitView, 30, 6, 34, 37,
        [](float x, float y) { return sdSegment(x, y, 32, 9, 32, 35) - 0.5f; }, darkInk);
}

void drawWasp(Canvas& cv)
{
    Rgba yellow = rgba(1.0f, 0.8f, 0.1f);
    wings(cv, 45, 27, 15, 5, -35, rgba(0.75f, 0.9f, 1.0f, 0.45f));
    wings(cv, 44, 37, 11, 4, -8, rgba(0.75f, 0.9f, 1.0f, 0.4f));
    limbs(cv, {35, 42, 43, 46, 45, 55}, 1.1f, rgba(0.25f, 0.2f, 0.1f));
    limbs(cv, {35, 39, 47, 42, 53, 50}, 1.1f, rgba(0.25f, 0.2f, 0.1f));
    limbs(cv, {35, 35, 46, 33, 52, 26}, 1.1f, rgba(0.25f, 0.2f, 0.1f));
    limbs(cv, {30, 54, 25, 59, 20, 62}, 0.8f, rgba(0.2f, 0.15f, 0.1f));
    fillShape(
        cv, unitView, 29, 1, 35, 10,
        [](float x, float y) {
            return sdPolygon(x, y, {29.8f, 9, 34.2f, 9, 32, 1.5f});
        },
        darkInk);
    blob(cv, 32, 20, 8.5f, 12.5f, yellow, 0.6f, [](float, float y) {
        float band = y - std::floor(y / 6.0f) * 6.0f;
        return (band > 3.2f && y < 29) ? 1.0f : 0.0f;
    });
    blob(cv, 32, 33.5f, 2.5f, 2.5f, darkInk);
    blob(
        cv, 32, 40, 6.5f, 6, rgba(0.2f, 0.15f, 0.1f), 0.6f,
        [](float x, float y) { return (std::fabs(x - 32) > 3.5f && y < 41) ? 1.0f : 0.0f; },
        yellow);
    blob(cv, 32, 50, 6.5f, 5.5f, yellow);
    blobPair(cv, 27.3f, 49.5f, 2.6f, 4.2f, rgba(0.55f, 0.1f, 0.05f), 1.0f);
    limbs(cv, {30.5f, 55, 31.2f, 58}, 0.9f, rgba(0.3f, 0.2f, 0.05f));
}

void drawLadybird(Canvas& cv)
{
    limbs(cv, {40, 42, 49, 46, 54, 54}, 1.5f, darkInk);
    limbs(cv, {42, 32, 54, 34, 59, 40}, 1.5f, darkInk);
    limbs(cv, {42, 22, 53, 17, 57, 9}, 1.5f, darkInk);
    limbs(cv, {34, 54, 37, 59, 41, 61}, 0.8f, darkInk);
    blob(
        cv, 32, 50, 8.5f, 6, rgba(0.12f, 0.1f, 0.14f), 0.8f,
        [](float x, float y) {
            float dx = std::fabs(x - 32) - 4.5f, dy = y - 48;
            return dx * dx + dy * dy < 4.0f ? 1.0f : 0.0f;
        },
        rgba(0.95f, 0.95f, 0.9f));
    blob(cv, 32, 27, 19.5f, 20, rgba(0.95f, 0.12f, 0.08f), 0.9f, [](float x, float y) {
        static const float spots[] = {24,   16, 4.2f, 40,   16, 4.2f, 21,   29, 3.8f, 43,  29,
                                      3.8f, 27, 39,   3.3f, 37, 39,   3.3f, 32, 9,    3.0f};
        float              ink     = 0;
        for (int i = 0; i < 7; ++i) {
            float dx = x - spots[i * 3], dy = y - spots[i * 3 + 1];
            ink =
                std::max(ink, dm::clamp01(spots[i * 3 + 2] + 0.5f - std::sqrt(dx * dx + dy * dy)));
        }
        if (std::fabs(x - 32) < 0.7f && y > 12)
            ink = 1;
        return ink;
    });
}

void drawMantis(Canvas& cv)
{
    Rgba lime = rgba(0.55f, 0.95f, 0.2f);
    limbs(cv, {34, 30, 48, 25, 57, 15}, 1.0f, rgba(0.4f, 0.7f, 0.15f));
    limbs(cv, {34, 34, 50, 38, 58, 47}, 1.0f, rgba(0.4f, 0.7f, 0.15f));
    blob(cv, 32, 17, 6, 14, lime, 0.5f, [](float, float y) {
        return std::fabs(y - std::floor(y / 4.0f) * 4.0f - 2) < 0.4f ? 0.5f : 0.0f;
    });
    wings(cv, 34.5f, 20, 3.5f, 13, 6, rgba(0.8f, 1.0f, 0.6f, 0.45f));
    blob(cv, 32, 37, 3.2f, 10, lime);
    limbs(cv, {34, 41, 46, 44, 44, 57}, 2.4f, rgba(0.45f, 0.85f, 0.2f));
    limbs(cv, {44, 57, 38, 62}, 1.4f, rgba(0.45f, 0.85f, 0.2f));
    limbs(cv, {35, 51, 37, 57, 36, 62}, 0.6f, rgba(0.7f, 1.0f, 0.4f));
    fillShape(
        cv, unitView, 20, 44, 44, 62,
        [](float x, float y) {
            return sdPolygon(x, y, {23, 48, 41, 48, 32, 59}) - 1.0f;
        },
        darkInk);
    fillShape(
        cv, unitView, 20, 44, 44, 62,
        [](float x, float y) {
            return sdPolygon(x, y, {23, 48, 41, 48, 32, 59});
        },
        [&](float x, float y) { return shade((x - 32) / 10, (y - 52) / 8, lime, 0.4f); });
    eyes(cv, 24.5f, 48, 3.2f, rgba(0.95f, 0.5f, 0.1f));
}

void drawMoth(Canvas& cv)
{
    auto eyespot = [](float x, float y) {
        float dx = x - 46, dy = y - 22;
        float r = std::sqrt(dx * dx + dy * dy);
        if (r < 2.0f)
            return 1.0f;
        if (r < 4.3f)
            return 0.0f;
        if (r < 5.5f)
            return 1.0f;
        return 0.0f;
    };
    wings(
        cv, 45, 23, 17, 12, -22, rgba(0.55f, 0.3f, 0.75f, 0.95f),
        [&](float x, float y) {
            float spot = eyespot(x, y);
            float dx = x - 46, dy = y - 22;
            float ring = std::sqrt(dx * dx + dy * dy) < 4.3f ? 0.0f : 0.0f;
            return std::max(spot, ring);
        },
        rgba(0.1f, 0.05f, 0.15f));
    wings(
        cv, 46, 22, 4.2f, 4.2f, 0, rgba(1.0f, 0.8f, 0.2f, 0.9f),
        [&](float x, float y) {
            float dx = x - 46, dy = y - 22;
            return std::sqrt(dx * dx + dy * dy) < 2.0f ? 1.0f : 0.0f;
        },
        darkInk);
    wings(
        cv, 43, 41, 11, 9, 25, rgba(0.9f, 0.45f, 0.6f, 0.95f),
        [](float x, float y) {
            float dx = x - 47, dy = y - 44;
            return std::sqrt(dx * dx + dy * dy) < 3.0f ? 1.0f : 0.0f;
        },
        rgba(1.0f, 0.9f, 0.5f));
    blob(
        cv, 32, 30, 4.8f, 17, rgba(0.85f, 0.7f, 0.5f), 0.3f,
        [](float, float y) {
            return std::fabs(y - std::floor(y / 4.0f) * 4.0f - 2) < 0.7f ? 0.6f : 0.0f;
        },
        rgba(0.4f, 0.25f, 0.15f));
    blob(cv, 32, 50, 5, 4, rgba(0.8f, 0.65f, 0.45f), 0.3f);
    eyes(cv, 28.5f, 51, 1.8f, rgba(0.2f, 0.1f, 0.3f));
    limbs(cv, {31, 53, 27, 58, 22, 62}, 0.6f, rgba(0.9f, 0.8f, 0.6f));
    for (int i = 0; i < 4; ++i) {
        float t = 0.25f + i * 0.22f;
        float x = 31 - 9 * t, y = 53 + 9 * t;
        limbs(cv, {x, y, x - 2.5f, y - 1.5f}, 0.4f, rgba(0.9f, 0.8f, 0.6f));
        limbs(cv, {x, y, x + 1.0f, y + 2.5f}, 0.4f, rgba(0.9f, 0.8f, 0.6f));
    }
}

void drawDragonfly(Canvas& cv)
{
    Rgba wing = rgba(0.6f, 0.95f, 1.0f, 0.4f);
    wings(cv, 46.5f, 33, 17, 3.8f, -10, wing);
    wings(cv, 46, 41, 16, 3.6f, 14, wing);
    limbs(cv, {35, 42, 41, 47, 42, 52}, 0.8f, rgba(0.1f, 0.2f, 0.3f));
    limbs(cv, {35, 39, 42, 42, 45, 47}, 0.8f, rgba(0.1f, 0.2f, 0.3f));
    for (int i = 0; i < 7; ++i)
        blob(cv, 32, 5 + i * 4.2f, 2.4f, 2.6f,
             lerp(rgba(0.1f, 0.4f, 0.95f), rgba(0.2f, 0.85f, 0.9f), i / 6.0f), 0.8f);
    blob(
        cv, 32, 38, 5.5f, 7, rgba(0.15f, 0.7f, 0.55f), 0.8f,
        [](float x, float) { return std::fabs(x - 32) < 1.2f ? 0.8f : 0.0f; },
        rgba(0.9f, 0.9f, 0.3f));
    blob(cv, 32, 48, 4, 3, rgba(0.1f, 0.5f, 0.5f));
    blobPair(cv, 28, 51, 4.4f, 4.4f, rgba(0.2f, 0.85f, 1.0f), 1.0f);
}

void drawSpider(Canvas& cv)
{
    Rgba legColour = rgba(0.25f, 0.18f, 0.3f);
    limbs(cv, {37, 47, 46, 50, 52, 62}, 1.3f, legColour);
    limbs(cv, {38, 45, 50, 42, 60, 52}, 1.3f, legColour);
    limbs(cv, {38, 42, 50, 34, 61, 36}, 1.3f, legColour);
    limbs(cv, {37, 40, 48, 28, 56, 20}, 1.3f, legColour);
    blob(
        cv, 32, 23, 13, 15, rgba(0.18f, 0.12f, 0.22f), 0.8f,
        [](float x, float y) {
            float dx = std::fabs(x - 32), dy = std::fabs(y - 23);
            return (dy < 6 && dx < 1.0f + dy * 0.55f) ? 1.0f : 0.0f;
        },
        rgba(1.0f, 0.15f, 0.1f));
    blob(cv, 32, 45, 8.5f, 7, rgba(0.3f, 0.22f, 0.35f));
    limbs(cv, {30, 51, 29, 56, 31, 59}, 1.1f, rgba(0.6f, 0.1f, 0.1f));
    blobPair(cv, 29.5f, 48.5f, 1.5f, 1.5f, rgba(1.0f, 0.2f, 0.15f));
    blobPair(cv, 27, 46.5f, 1.1f, 1.1f, rgba(1.0f, 0.2f, 0.15f));
}

void drawStag(Canvas& cv)
{
    Rgba shell = rgba(0.45f, 0.2f, 0.55f);
    limbs(cv, {40, 42, 49, 46, 52, 55}, 1.5f, rgba(0.2f, 0.1f, 0.2f));
    limbs(cv, {40, 36, 52, 34, 58, 42}, 1.5f, rgba(0.2f, 0.1f, 0.2f));
    limbs(cv, {40, 27, 52, 21, 57, 11}, 1.5f, rgba(0.2f, 0.1f, 0.2f));
    limbs(cv, {36, 52, 42, 56, 42, 61, 37, 63}, 2.2f, rgba(0.7f, 0.35f, 0.2f));
    limbs(cv, {41, 57, 39, 56}, 0.9f, rgba(0.7f, 0.35f, 0.2f));
    blob(cv, 32, 49, 9.5f, 5.5f, rgba(0.35f, 0.15f, 0.4f));
    eyes(cv, 25, 49, 1.6f, rgba(1, 0.4f, 0.2f));
    blob(cv, 32, 39, 11, 5.5f, shell);
    blobPair(cv, 26.2f, 21, 7.2f, 14, shell, 1.0f);
    fillShape(
        cv, unitView, 30, 6, 34, 36,
        [](float x, float y) { return sdSegment(x, y, 32, 8, 32, 34) - 0.5f; }, darkInk);
}

void drawFirefly(Canvas& cv)
{
    auto glow = [](float x, float y) { return sdEllipse(x, y, 32, 17, 9, 12); };
    glowShape(cv, unitView, 22, 4, 42, 30, glow, rgba(0.8f, 1.0f, 0.3f), 3.0f, 0.7f);
    wings(cv, 43, 26, 13, 6, -50, rgba(0.85f, 0.95f, 1.0f, 0.35f));
    limbs(cv, {35, 42, 44, 46, 47, 54}, 1.1f, darkInk);
    limbs(cv, {35, 38, 48, 38, 54, 44}, 1.1f, darkInk);
    limbs(cv, {31, 54, 27, 59, 23, 60}, 0.8f, darkInk);
    blob(
        cv, 32, 17, 9, 12, rgba(0.9f, 1.0f, 0.45f), 0.5f,
        [](float, float y) {
            return (y > 22 && std::fabs(y - std::floor(y / 3.0f) * 3.0f - 1.5f) < 0.5f) ? 0.6f
                                                                                        : 0.0f;
        },
        rgba(0.4f, 0.6f, 0.1f));
    for (int side = 0; side < 2; ++side) {
        float cx = side ? 27.5f : 36.5f, ang = side ? 12.0f : -12.0f;
        auto  sdf = [=](float x, float y) { return sdEllipseRot(x, y, cx, 30, 4.8f, 12, ang); };
        fillShape(
            cv, unitView, 0, 0, 64, 64, [&](float x, float y) { return sdf(x, y) - 1.0f; },
            darkInk);
        fillShape(cv, unitView, 0, 0, 64, 64, sdf, [=](float x, float y) {
            Rgba c = std::fabs(x - 32) > 6.5f ? rgba(0.95f, 0.55f, 0.1f) : rgba(0.2f, 0.12f, 0.15f);
            return shade((x - cx) / 4.8f, (y - 30) / 12, c, 0.8f);
        });
    }
    blob(cv, 32, 43, 7.5f, 5.5f, rgba(0.95f, 0.35f, 0.2f), 0.7f, [](float x, float y) {
        float dx = x - 32, dy = y - 43;
        return dx * dx + dy * dy < 6.0f ? 1.0f : 0.0f;
    });
    blob(cv, 32, 51, 5, 3.8f, darkInk, 0.9f);
    eyes(cv, 28.5f, 52, 1.5f, rgba(0.5f, 0.9f, 1.0f));
}

// Keeps dark insects visible on the near-black backdrop: tones darker than a dusky violet
// are lifted toward it, and the outer 2 texels of the solid silhouette get a pale back-light.
void lightForBackdrop(Canvas& cv)
{
    const Rgba floor = rgba(90 / 255.0f, 70 / 255.0f, 110 / 255.0f);
    auto luma = [](float r, float g, float b) { return 0.299f * r + 0.587f * g + 0.114f * b; };
    const float floorLuma = luma(floor.r, floor.g, floor.b);
    auto        solid     = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < cv.w && y < cv.h && cv.at(x, y)[3] >= 0.5f;
    };
    std::vector<float> rim(static_cast<size_t>(cv.w) * cv.h, 0.0f);
    for (int y = 0; y < cv.h; ++y)
        for (int x = 0; x < cv.w; ++x) {
            if (!solid(x, y))
                continue;
            // Distance (in texels, 8 neighbours) to the nearest texel outside the silhouette.
            int d = 3;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    if (!solid(x + dx, y + dy))
                        d = std::min(d, std::max(std::abs(dx), std::abs(dy)));
            rim[static_cast<size_t>(y) * cv.w + x] = d == 1 ? 0.75f : (d == 2 ? 0.3f : 0.0f);
        }
    const Rgba light = rgba(0.8f, 0.85f, 1.0f);
    for (int y = 0; y < cv.h; ++y)
        for (int x = 0; x < cv.w; ++x) {
            float* p = cv.at(x, y);
            if (p[3] <= 0)
                continue;
            float r = p[0] / p[3], g = p[1] / p[3], b = p[2] / p[3];
            float l = luma(r, g, b);
            if (l < floorLuma) {
                float t = std::min(1.0f, 2 * (1 - l / floorLuma));
                r       = dm::mix(r, std::max(r, floor.r), t);
                g       = dm::mix(g, std::max(g, floor.g), t);
                b       = dm::mix(b, std::max(b, floor.b), t);
            }
            float k = rim[static_cast<size_t>(y) * cv.w + x];
            r       = dm::mix(r, light.r, k);
            g       = dm::mix(g, light.g, k);
            b       = dm::mix(b, light.b, k);
            p[0]    = r * p[3];
            p[1]    = g * p[3];
            p[2]    = b * p[3];
        }
}

} // namespace

Canvas drawEnemy(int index)
{
    Canvas cv(64, 64);
    switch (index) {
    case 0: drawScarab(cv); break;
    case 1: drawWasp(cv); break;
    case 2: drawLadybird(cv); break;
    case 3: drawMantis(cv); break;
    case 4: drawMoth(cv); break;
    case 5: drawDragonfly(cv); break;
    case 6: drawSpider(cv); break;
    case 7: drawStag(cv); break;
    default: drawFirefly(cv); break;
    }
    lightForBackdrop(cv);
    return cv;
}

Canvas drawExplosionRing()
{
    // A burst of 14 spark streaks inside a thin, soft shock ring. The game grows the picture
    // to over 100 pixels while it dims: its alpha peaks at 0.6 and fades toward the edge,
    // so the large late frames are sparse and the end does not pop.
    const int   streaks = 14;
    const float peak    = 0.6f;
    Canvas      cv(64, 64);
    dm::Rng     rng(91);
    float       angle[streaks], inner[streaks], outer[streaks];
    for (int i = 0; i < streaks; ++i) {
        angle[i] = static_cast<float>((i + rng.range(-0.3f, 0.3f)) * 2 * dm::PI / streaks);
        inner[i] = rng.range(8, 13);
        outer[i] = rng.range(23, 29);
    }
    fillShape(
        cv, unitView, 0, 0, 64, 64, [](float, float) { return -1.0f; },
        [&](float x, float y) {
            float dx = x - 32, dy = y - 32;
            float r = std::sqrt(dx * dx + dy * dy);
            // Shock ring: a thin Gaussian band at radius 21.
            float d     = r - 21;
            float shock = 0.6f * static_cast<float>(dm::expD(-(d * d) / 3.0));
            // Streaks: tapered segments along the spark directions, brightest a third along.
            float spark = 0, heat = 0;
            for (int i = 0; i < streaks; ++i) {
                float c     = static_cast<float>(dm::cosD(angle[i]));
                float s     = static_cast<float>(dm::sinD(angle[i]));
                float along = dx * c + dy * s, across = std::fabs(-dx * s + dy * c);
                if (along < inner[i] || along > outer[i])
                    continue;
                float t     = (along - inner[i]) / (outer[i] - inner[i]);
                float width = 1.3f * (1 - 0.6f * t);
                float a     = dm::smooth(width + 0.6f, width - 0.6f, across) *
                          dm::smooth(0.0f, 0.3f, t) * (1 - 0.8f * t);
                if (a > spark) {
                    spark = a;
                    heat  = 1 - t;
                }
            }
            float edge = dm::smooth(31.5f, 24.0f, r); // fades out before the picture's edge
            float a    = peak * std::min(1.0f, 1.3f * std::max(shock, spark)) * edge;
            Rgba  c = spark > shock ? lerp(rgba(1.0f, 0.55f, 0.2f), rgba(1.0f, 0.95f, 0.75f), heat)
                                    : rgba(0.75f, 0.85f, 1.0f);
            return withAlpha(c, a);
        });
    return cv;
}
