// The deep-space backdrop: nebula and stars that repeat seamlessly in both directions.
#include "art.h"

#include <algorithm>
#include <cmath>

namespace {

const int W = 512, H = 1024;

// Nebula strength by row: faint in the top third (behind the title), full below, and
// back to faint at the bottom so the last row meets the first.
float nebulaStrength(float y)
{
    return 0.28f + 0.72f * dm::smooth(360, 470, y) * (1 - dm::smooth(900, 1020, y));
}

Rgba starColour(float t)
{
    if (t < 0.2f)
        return rgba(0.65f, 0.75f, 1.0f);
    if (t < 0.7f)
        return rgba(1.0f, 1.0f, 1.0f);
    if (t < 0.9f)
        return rgba(1.0f, 0.92f, 0.7f);
    return rgba(1.0f, 0.7f, 0.5f);
}

// Draws a shape at its place and at the wrapped places next to the picture's edges.
template <class Draw> void wrapped(float x, float y, float reach, Draw draw)
{
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            float px = x + ox * W, py = y + oy * H;
            if (px + reach < 0 || px - reach > W || py + reach < 0 || py - reach > H)
                continue;
            draw(px, py);
        }
}

} // namespace

Canvas drawBackdrop()
{
    Canvas     cv(W, H, rgba(0.008f, 0.008f, 0.03f));
    const View v{};
    // Nebula: two colour fields from periodic noise, with darker dust lanes.
    fillShape(
        cv, v, 0, 0, W, H, [](float, float) { return -1.0f; },
        [](float x, float y) {
            float n     = dm::fbm(x / 128.0f, y / 128.0f, 4, 8, 5, 11);
            float hue   = dm::fbm(x / 256.0f + 0.5f, y / 256.0f, 2, 4, 3, 23);
            float dust  = dm::fbm(x / 64.0f, y / 64.0f, 8, 16, 4, 31);
            float cloud = dm::smooth(0.42f, 0.78f, n) * (1 - 0.6f * dm::smooth(0.5f, 0.75f, dust));
            Rgba  c     = lerp(rgba(0.28f, 0.08f, 0.45f), rgba(0.05f, 0.3f, 0.5f),
                               dm::smooth(0.35f, 0.65f, hue));
            c           = lerp(c, rgba(0.55f, 0.12f, 0.3f), dm::smooth(0.6f, 0.8f, hue) * 0.6f);
            return withAlpha(c, cloud * 0.55f * nebulaStrength(y));
        },
        Blend::Add);

    dm::Rng rng(2024);
    // Faint dust of single-pixel stars.
    for (int i = 0; i < 2600; ++i) {
        int   x = static_cast<int>(rng.uniform() * W), y = static_cast<int>(rng.uniform() * H);
        float b = rng.range(0.12f, 0.45f);
        cv.put(x, y, starColour(rng.uniform()), b, Blend::Add);
    }
    // Small soft stars; squashed vertically because the play field stretches the picture upward.
    for (int i = 0; i < 420; ++i) {
        float x = rng.uniform() * W, y = rng.uniform() * H, r = rng.range(0.6f, 1.3f),
              b = rng.range(0.4f, 0.9f);
        Rgba c  = withAlpha(starColour(rng.uniform()), b);
        wrapped(x, y, 4, [&](float px, float py) {
            fillShape(
                cv, v, px - 4, py - 3, px + 4, py + 3,
                [=](float qx, float qy) { return sdEllipse(qx, qy, px, py, r, r * 0.6f) - 0.3f; },
                c, Blend::Add);
        });
    }
    // A few bright stars with a halo and thin spikes.
    for (int i = 0; i < 36; ++i) {
        float x = rng.uniform() * W, y = rng.uniform() * H, s = rng.range(0.6f, 1.0f);
        Rgba  c = starColour(rng.uniform());
        wrapped(x, y, 16, [&](float px, float py) {
            glowShape(
                cv, v, px, py, px, py,
                [=](float qx, float qy) { return sdEllipse(qx, qy, px, py, 1.2f, 0.8f); }, c,
                2.0f * s, 0.5f * s, Blend::Add);
            fillShape(
                cv, v, px - 10, py - 6, px + 10, py + 6,
                [=](float qx, float qy) {
                    return std::min(sdSegment(qx, qy, px - 9 * s, py, px + 9 * s, py),
                                    sdSegment(qx, qy, px, py - 5.5f * s, px, py + 5.5f * s)) -
                           0.2f;
                },
                [=](float qx, float qy) {
                    float d = std::max(std::fabs(qx - px) / 9.0f, std::fabs(qy - py) / 5.5f) / s;
                    return withAlpha(c, 0.7f * (1 - dm::clamp01(d)));
                },
                Blend::Add);
            fillShape(
                cv, v, px - 2, py - 2, px + 2, py + 2,
                [=](float qx, float qy) { return sdEllipse(qx, qy, px, py, 1.1f, 0.8f); },
                rgba(1, 1, 1), Blend::Add);
        });
    }
    return cv;
}
