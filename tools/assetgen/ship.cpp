// The player's ship and its four explosion pictures.
#include "art.h"

#include <algorithm>
#include <cmath>

namespace {

const float shipAxis = 32; // the ship's axis in design units

float fold(float x) { return shipAxis + std::fabs(x - shipAxis); }

float sdFuselage(float x, float y)
{
    static const std::vector<float> hull = {32, 2,  35.5f, 14, 37.5f, 30,    37, 50,    35,
                                            57, 29, 57,    27, 50,    26.5f, 30, 28.5f, 14};
    return sdPolygon(x, y, hull);
}

float sdWing(float x, float y)
{
    static const std::vector<float> wing = {36, 27, 47, 38, 57, 45, 58.5f, 53, 51, 53, 36, 49};
    return sdPolygon(fold(x), y, wing);
}

float sdCanard(float x, float y)
{
    static const std::vector<float> fin = {36, 17, 43, 25, 43, 28, 36, 26};
    return sdPolygon(fold(x), y, fin);
}

float sdPod(float x, float y) { return sdSegment(fold(x), y, 51, 34, 51, 51) - 2.3f; }

float sdNacelle(float x, float y) { return sdSegment(fold(x), y, 38.5f, 40, 38.5f, 57) - 3.2f; }

float sdWhole(float x, float y)
{
    return std::min(
        std::min(std::min(sdFuselage(x, y), sdWing(x, y)), std::min(sdCanard(x, y), sdPod(x, y))),
        sdNacelle(x, y));
}

Rgba metal(float x, float y, Rgba base)
{
    float side = std::fabs(x - shipAxis) / 30.0f;
    float k    = 1.05f - 0.45f * side - 0.25f * (y / 64.0f);
    return rgba(base.r * k, base.g * k, base.b * k);
}

void exhaust(Canvas& cv, const View& v)
{
    for (int side = -1; side <= 1; side += 2) {
        float ex    = shipAxis + side * 6.5f;
        auto  flame = [ex](float x, float y) { return sdEllipse(x, y, ex, 60, 2.6f, 5.5f); };
        glowShape(cv, v, ex - 3, 54, ex + 3, 66, flame, rgba(1.0f, 0.45f, 0.1f), 2.0f, 0.8f);
        fillShape(cv, v, ex - 3, 54, ex + 3, 66, flame, [ex](float x, float y) {
            float t = dm::clamp01((y - 55) / 10.0f) + std::fabs(x - ex) * 0.1f;
            return lerp(rgba(1, 1, 0.85f), rgba(1, 0.5f, 0.1f, 0.6f), dm::clamp01(t));
        });
    }
}

} // namespace

void drawShip(Canvas& cv, const View& v)
{
    exhaust(cv, v);
    Rgba outline = rgba(0.04f, 0.05f, 0.12f);
    fillShape(
        cv, v, 0, 0, 64, 64, [](float x, float y) { return sdWhole(x, y) - 1.3f; }, outline);
    // Wings: steel blue with a red leading stripe.
    fillShape(cv, v, 0, 20, 64, 60, sdWing, [](float x, float y) {
        Rgba  c      = metal(x, y, rgba(0.50f, 0.60f, 0.78f));
        float fx     = fold(x);
        float stripe = (fx - 36) * (7.0f / 11.0f) + 27 - y; // along the leading edge
        if (stripe > -4.5f && stripe < -2.0f && fx > 40 && fx < 56)
            c = rgba(0.95f, 0.25f, 0.2f);
        return c;
    });
    fillShape(cv, v, 0, 30, 64, 56, sdPod,
              [](float x, float y) { return metal(x, y, rgba(0.62f, 0.68f, 0.8f)); });
    fillShape(
        cv, v, 0, 30, 64, 56,
        [](float x, float y) { return sdSegment(fold(x), y, 51, 31, 51, 36) - 1.3f; },
        rgba(1.0f, 0.85f, 0.35f));
    fillShape(cv, v, 0, 36, 64, 62, sdNacelle,
              [](float x, float y) { return metal(x, y, rgba(0.45f, 0.5f, 0.62f)); });
    fillShape(cv, v, 0, 14, 64, 30, sdCanard, rgba(0.9f, 0.3f, 0.22f));
    // Fuselage: bright hull with a lit spine.
    fillShape(cv, v, 20, 0, 44, 60, sdFuselage, [](float x, float y) {
        float side = std::fabs(x - shipAxis) / 5.5f;
        float k    = 1.0f - 0.45f * side * side;
        Rgba  c    = rgba(0.86f * k, 0.9f * k, 0.97f * k);
        if (y > 44 && y < 47)
            c = rgba(0.95f, 0.3f, 0.2f);
        return c;
    });
    // Cockpit canopy.
    auto canopy = [](float x, float y) { return sdEllipse(x, y, shipAxis, 24, 2.6f, 7.5f); };
    fillShape(
        cv, v, 28, 15, 36, 33, [&](float x, float y) { return canopy(x, y) - 0.9f; }, outline);
    fillShape(cv, v, 28, 15, 36, 33, canopy, [](float x, float y) {
        float t = dm::clamp01((y - 17) / 14.0f);
        Rgba  c = lerp(rgba(0.55f, 0.95f, 1.0f), rgba(0.05f, 0.25f, 0.55f), t);
        if (std::fabs(x - (shipAxis - 0.8f)) < 0.8f && y > 19 && y < 24)
            c = rgba(0.95f, 1, 1);
        return c;
    });
}

Rgba fireColour(float heat)
{
    static const Rgba stops[] = {rgba(0.25f, 0.03f, 0.02f), rgba(0.75f, 0.12f, 0.03f),
                                 rgba(1.0f, 0.45f, 0.08f), rgba(1.0f, 0.8f, 0.3f),
                                 rgba(1.0f, 1.0f, 0.9f)};
    heat                      = dm::clamp01(heat) * 4;
    int i                     = std::min(3, static_cast<int>(heat));
    return lerp(stops[i], stops[i + 1], heat - i);
}

namespace {

// One explosion picture in a 64 x 64 design square: a noisy fireball whose `heat` cools and
// which `breakup` tears into separate puffs of smoke.
void fireball(Canvas& cv, const View& v, float radius, float heat, float breakup, float smoke,
              uint32_t seed)
{
    const float cx = 32, cy = 33;
    fillShape(
        cv, v, 4, 4, 60, 60, [](float, float) { return -1.0f; },
        [&](float x, float y) {
            float dx = x - cx, dy = y - cy;
            float r     = std::sqrt(dx * dx + dy * dy) / radius;
            float n     = dm::fbm(x * 0.09f + 3, y * 0.09f + 7, 64, 64, 4, seed);
            float holes = dm::fbm(x * 0.06f + 11, y * 0.06f, 64, 64, 3, seed + 7);
            float density =
                1.0f - r + (n - 0.5f) * 0.9f - breakup * dm::smooth(0.35f, 0.7f, holes) * 1.2f;
            float edge = 1.0f - std::max(std::fabs(x - cx), std::fabs(y - cy)) /
                                    29.0f; // stay inside the cell
            density    = std::min(density, edge * 3);
            float a    = dm::smooth(0.0f, 0.25f, density);
            Rgba  fire = fireColour(heat * (0.35f + density * 1.1f));
            Rgba  soot = rgba(0.5f + 0.25f * n, 0.46f + 0.2f * n, 0.44f + 0.16f * n);
            Rgba  c    = lerp(fire, soot, dm::clamp01(smoke * (1.2f - density)));
            return withAlpha(c, a * (1.0f - smoke * 0.35f));
        });
}

void sparks(Canvas& cv, const View& v, int count, float r0, float r1, Rgba colour, uint32_t seed)
{
    dm::Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        double ang = rng.uniform() * 2 * dm::PI;
        float  a = r0 * rng.range(0.8f, 1.1f), b = r1 * rng.range(0.7f, 1.0f);
        float  c = static_cast<float>(dm::cosD(ang)), s = static_cast<float>(dm::sinD(ang));
        float  ax = 32 + c * a, ay = 33 + s * a, bx = 32 + c * b, by = 33 + s * b;
        auto   seg = [=](float x, float y) { return sdSegment(x, y, ax, ay, bx, by) - 0.7f; };
        fillShape(cv, v, std::min(ax, bx) - 2, std::min(ay, by) - 2, std::max(ax, bx) + 2,
                  std::max(ay, by) + 2, seg, [=](float x, float y) {
                      float t = dm::clamp01(((x - ax) * (bx - ax) + (y - ay) * (by - ay)) /
                                            ((bx - ax) * (bx - ax) + (by - ay) * (by - ay)));
                      return withAlpha(colour, colour.a * (0.3f + 0.7f * t));
                  });
    }
}

// Glowing embers: small hot dots scattered over the smoke.
void embers(Canvas& cv, const View& v, int count, float spread, uint32_t seed)
{
    dm::Rng rng(seed);
    for (int i = 0; i < count; ++i) {
        double ang = rng.uniform() * 2 * dm::PI;
        float  r = spread * std::sqrt(rng.uniform()), size = rng.range(0.9f, 1.8f);
        float  ex  = 32 + static_cast<float>(dm::cosD(ang)) * r;
        float  ey  = 33 + static_cast<float>(dm::sinD(ang)) * r;
        auto   dot = [=](float x, float y) { return sdCircle(x, y, ex, ey, size); };
        glowShape(cv, v, ex - 3, ey - 3, ex + 3, ey + 3, dot, rgba(1.0f, 0.5f, 0.1f), 1.2f, 0.7f);
        fillShape(cv, v, ex - 3, ey - 3, ex + 3, ey + 3, dot, rgba(1.0f, 0.85f, 0.4f));
    }
}

// A white-hot glare: a bright core with long thin rays across and down.
void flash(Canvas& cv, const View& v)
{
    auto across = [](float x, float y) { return sdEllipse(x, y, 32, 33, 30, 2.6f); };
    auto down   = [](float x, float y) { return sdEllipse(x, y, 32, 33, 2.4f, 24); };
    auto core   = [](float x, float y) { return sdCircle(x, y, 32, 33, 9); };
    glowShape(cv, v, 0, 0, 64, 64, across, rgba(1.0f, 0.9f, 0.6f), 1.5f, 0.6f);
    glowShape(cv, v, 0, 0, 64, 64, down, rgba(1.0f, 0.9f, 0.6f), 1.5f, 0.6f);
    glowShape(cv, v, 0, 0, 64, 64, core, rgba(1.0f, 0.85f, 0.5f), 3.0f, 0.8f);
    fillShape(cv, v, 0, 0, 64, 64, across, rgba(1, 1, 0.95f));
    fillShape(cv, v, 0, 0, 64, 64, down, rgba(1, 1, 0.95f));
    fillShape(cv, v, 0, 0, 64, 64, core, rgba(1, 1, 1));
}

} // namespace

Canvas drawShipSheet()
{
    // The ship, then its explosion: a white flash as wide as the ship, a fireball that fills
    // the cell, sparks flying to the cell's edges, and light smoke with glowing embers,
    // which stays on screen longest and must stand out from the dark backdrop.
    Canvas cv(256, 64);
    drawShip(cv, View{0, 0, 53.76f / 64.0f, 1});
    for (int n = 1; n <= 4; ++n) {
        View     v{51.2f * n, 0, 0.8f, 1};
        uint32_t seed = 40u + static_cast<uint32_t>(n);
        switch (n) {
        case 1:
            fireball(cv, v, 15, 1.0f, 0, 0, seed);
            flash(cv, v);
            break;
        case 2:
            fireball(cv, v, 30, 1.0f, 0.05f, 0, seed);
            sparks(cv, v, 14, 20, 29, rgba(1, 0.95f, 0.7f), seed);
            break;
        case 3:
            fireball(cv, v, 30, 0.75f, 0.25f, 0.2f, seed);
            sparks(cv, v, 18, 16, 30, rgba(1, 0.8f, 0.35f), seed);
            break;
        default:
            fireball(cv, v, 29, 0.5f, 0.55f, 0.9f, seed);
            embers(cv, v, 22, 22, seed);
            break;
        }
    }
    // Glow and sparks fade out over the last texels before each explosion cell's borders,
    // so that no picture shows a cut edge or reaches into its neighbour.
    for (int x = 51; x < cv.w; ++x) {
        int n  = static_cast<int>(x / 51.2f);
        int lo = static_cast<int>(std::ceil(51.2f * n)), hi = static_cast<int>(51.2f * (n + 1)) - 1;
        float k = n >= 1 && x >= lo ? dm::clamp01((std::min(x - lo, hi - x) - 1) / 1.5f) : 0.0f;
        for (int y = 0; y < cv.h; ++y)
            for (int c = 0; c < 4; ++c)
                cv.at(x, y)[c] *= k;
    }
    return cv;
}
