// The intro banner, the game's logo and the application icon, lettered with the stroke font.
#include "art.h"
#include "lettering.h"

#include <algorithm>
#include <cmath>

namespace {

// The logo's word is centred at design x 200 of 500 (texture s 0.40) and kept within
// x 15 to 400 (s 0.03 to 0.80): the title shows it centred over its texts, and the
// status panel, which covers s up to 0.875, shows all of it.
const float logoCentre = 200, logoLeft = 15, logoRight = 400;

// Fill of the letters: hot white-gold at the top to deep orange at the bottom, with a
// faint honeycomb of darker lines.
Rgba goldFill(float y, float top, float height, float x, float cell)
{
    float t = dm::clamp01((y - top) / height);
    Rgba  c = t < 0.45f
                  ? lerp(rgba(1.0f, 1.0f, 0.85f), rgba(1.0f, 0.82f, 0.2f), t / 0.45f)
                  : lerp(rgba(1.0f, 0.82f, 0.2f), rgba(0.95f, 0.35f, 0.05f), (t - 0.45f) / 0.55f);
    // Honeycomb: distance to the nearest centre of a hexagonal lattice.
    float hx = x / cell, hy = y / (cell * 0.866f);
    float row  = std::floor(hy);
    float best = 9;
    for (int dr = -1; dr <= 1; ++dr) {
        float r     = row + dr;
        float shift = (static_cast<int>(r) & 1) ? 0.5f : 0.0f;
        float col   = std::floor(hx - shift + 0.5f);
        for (int dc = -1; dc <= 1; ++dc) {
            float cx = col + dc + shift, cy = r + 0.5f;
            float dx = hx - cx, dy = (hy - cy) * 0.866f;
            best = std::min(best, std::sqrt(dx * dx + dy * dy));
        }
    }
    float line = dm::smooth(0.42f, 0.5f, best) * 0.22f;
    return scaled(c, 1 - line);
}

void wingPair(Canvas& cv, const View& v, float cx, float cy, float rx, float ry, float degrees,
              Rgba colour)
{
    for (int side = -1; side <= 1; side += 2) {
        float  x0 = logoCentre + side * (cx - logoCentre);
        double a  = side * degrees * dm::PI / 180.0;
        float  c = static_cast<float>(dm::cosD(a)), s = static_cast<float>(dm::sinD(a));
        auto   sdf = [=](float x, float y) {
            float dx = x - x0, dy = y - cy;
            return sdEllipse(dx * c + dy * s, -dx * s + dy * c, 0, 0, rx, ry);
        };
        fillShape(cv, v, x0 - rx - 4, cy - rx - 4, x0 + rx + 4, cy + rx + 4, sdf,
                  [=](float x, float y) {
                      float d   = -sdf(x, y);
                      float rim = dm::smooth(4.0f, 0.0f, d) * 0.5f;
                      float vein =
                          std::fabs(d - std::floor(d / 11.0f) * 11.0f - 5.5f) < 0.9f ? 0.15f : 0.0f;
                      float dx = x - x0, dy = y - cy;
                      float along = (dx * c + dy * s) / rx; // -1 at the root side to 1 at the tip
                      float spoke = std::fabs(-dx * s + dy * c) < 1.2f ? 0.15f : 0.0f;
                      return withAlpha(lerp(colour, rgba(1, 1, 1), rim),
                                       colour.a * (0.6f + 0.4f * along) + rim + vein + spoke);
                  });
    }
}

} // namespace

Canvas drawIntroImage()
{
    const int  W = 512, H = 128;
    Canvas     cv(W, H);
    const View v{};
    // Dark panel with a glowing horizontal band and a fine scan texture.
    fillShape(
        cv, v, 0, 0, W, H, [](float, float) { return -1.0f; },
        [](float x, float y) {
            float band = static_cast<float>(dm::expD(-((y - 58) * (y - 58)) / 500.0));
            float core = static_cast<float>(dm::expD(-((y - 58) * (y - 58)) / 40.0));
            float n    = dm::fbm(x / 32.0f, y / 32.0f, 16, 4, 4, 5);
            Rgba  c    = lerp(rgba(0.02f, 0.02f, 0.08f), rgba(0.06f, 0.03f, 0.16f), y / H);
            c          = lerp(c, rgba(0.45f, 0.12f, 0.55f), band * (0.6f + 0.4f * n));
            c          = lerp(c, rgba(1.0f, 0.6f, 0.25f), core * 0.55f * (0.7f + 0.3f * n));
            if (static_cast<int>(y) % 3 == 0)
                c = scaled(c, 0.85f);
            return c;
        });
    auto letter = [&](const std::string& text, float top, float height, float thick,
                      float tracking) {
        float fit = (W - 60.0f) / (layoutText(text, 0, 0, height, tracking).width + 2 * thick);
        if (fit < 1) {
            top += height * (1 - fit) / 2;
            height *= fit;
            thick *= fit;
            tracking *= fit;
        }
        Lettering probe = layoutText(text, 0, top, height, tracking);
        Lettering l     = layoutText(text, (W - probe.width) / 2, top, height, tracking);
        auto      sdf   = [&](float x, float y) { return l.distance(x, y) - thick; };
        float     x0 = (W - probe.width) / 2 - 20, x1 = x0 + probe.width + 40;
        glowShape(cv, v, x0, top - 8, x1, top + height + 8, sdf, rgba(1.0f, 0.5f, 0.15f),
                  thick * 0.9f, 0.45f);
        fillShape(
            cv, v, x0, top - 10, x1, top + height + 10,
            [&](float x, float y) { return sdf(x, y) - 2.2f; }, rgba(0.12f, 0.03f, 0.02f));
        fillShape(cv, v, x0, top - 10, x1, top + height + 10, sdf, [&](float x, float y) {
            return goldFill(y, top - thick, height + 2 * thick, x, 9);
        });
    };
    letter("THE SWARM TEAM", 27, 40, 4.2f, 14);
    letter("PRESENTS", 82, 18, 2.4f, 14);
    // The outer 18 texels are exactly the intro's blue background, feathered over 14 more
    // into the picture, so that the picture has no edge on the blue through the fade.
    const float border = 18, feather = 14;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            float d = static_cast<float>(std::min(std::min(x, W - 1 - x), std::min(y, H - 1 - y)));
            float k = 1 - dm::smooth(border, border + feather, d);
            if (k > 0)
                cv.put(x, y, rgba(0, 0, 1), k);
        }
    return cv;
}

Canvas drawLogo()
{
    // Designed in the 500 x 200 units that the title screen shows it at.
    Canvas     cv(512, 256);
    const View v{0, 0, 512.0f / 500.0f, 256.0f / 200.0f};
    wingPair(cv, v, 110, 72, 82, 34, -14, rgba(0.45f, 0.8f, 1.0f, 0.28f));
    wingPair(cv, v, 128, 124, 62, 24, 16, rgba(0.45f, 0.8f, 1.0f, 0.22f));

    // Cap height chosen so the word, with its strokes and dark outline, fits between the
    // left and right limits. Letters stand 0.07 cap heights apart between their stroke edges.
    float       unitWidth = layoutText("Swarm!", 0, 0, 1, 0.28f).width;
    float       room      = 2 * std::min(logoCentre - logoLeft, logoRight - logoCentre) - 14;
    float       height    = std::min(124.0f, room / (unitWidth + 0.21f));
    const float thick = 0.105f * height, tracking = 0.28f * height, top = 100 - height / 2;
    Lettering   probe = layoutText("Swarm!", 0, top, height, tracking);
    float       left  = logoCentre - probe.width / 2;
    Lettering   word  = layoutText("Swarm!", left, top, height, tracking);
    auto        sdf   = [&](float x, float y) { return word.distance(x, y) - thick; };
    float       x0 = left - 30, x1 = left + probe.width + 30, y0 = top - 30, y1 = top + height + 30;
    glowShape(cv, v, x0, y0, x1, y1, sdf, rgba(1.0f, 0.45f, 0.1f), 9, 0.75f);
    fillShape(
        cv, v, x0, y0, x1, y1, [&](float x, float y) { return sdf(x, y) - 5.0f; },
        rgba(0.1f, 0.02f, 0.02f));
    fillShape(cv, v, x0, y0, x1, y1, sdf, [&](float x, float y) {
        Rgba  c     = goldFill(y, top - thick, height + 2 * thick, x, 16);
        float d     = -sdf(x, y);
        float shine = dm::smooth(thick * 0.9f, thick * 0.5f, std::fabs(d - thick * 0.6f)) *
                      (1 - dm::clamp01((y - top) / height)) * 0.35f;
        return rgba(std::min(1.0f, c.r + shine), std::min(1.0f, c.g + shine),
                    std::min(1.0f, c.b + shine));
    });
    return cv;
}

Canvas drawIcon(int size, bool dark)
{
    // The logo's amber "S!" with its dark outline, bold enough to read at 32 pixels.
    Canvas cv(size, size);
    float  k = size / 64.0f;
    View   v{0, 0, k, k};
    if (dark)
        fillShape(
            cv, v, 0, 0, 64, 64,
            [](float x, float y) { return sdBox(x, y, 32, 32, 31.5f, 31.5f, 9); },
            [](float x, float y) {
                float d = std::sqrt((x - 32) * (x - 32) + (y - 26) * (y - 26)) / 40.0f;
                return lerp(rgba(0.16f, 0.1f, 0.22f), rgba(0.02f, 0.01f, 0.05f), dm::clamp01(d));
            });
    const float height = 38, thick = 5.2f, tracking = 9;
    Lettering   probe = layoutText("S!", 0, 0, height, tracking);
    const float left = 32 - probe.width / 2, top = 32 - height / 2;
    Lettering   word = layoutText("S!", left, top, height, tracking);
    auto        sdf  = [&](float x, float y) { return word.distance(x, y) - thick; };
    glowShape(cv, v, 0, 0, 64, 64, sdf, rgba(1.0f, 0.45f, 0.1f), 2.5f, 0.6f);
    fillShape(
        cv, v, 0, 0, 64, 64, [&](float x, float y) { return sdf(x, y) - 2.6f; },
        rgba(0.1f, 0.02f, 0.02f));
    fillShape(cv, v, 0, 0, 64, 64, sdf,
              [&](float x, float y) { return goldFill(y, top - thick, height + 2 * thick, x, 8); });
    return cv;
}
