// Builds the preview contact sheet, sampling the pictures the way the game's quads do.
#include "preview.h"

#include "png_write.h"

#include <algorithm>
#include <cmath>

namespace {

const Canvas* find(const std::vector<ArchivePicture>& pics, const std::string& name)
{
    for (const ArchivePicture& p : pics)
        if (p.name == name)
            return &p.picture;
    return nullptr;
}

void checker(Canvas& cv, int x0, int y0, int w, int h)
{
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) {
            bool  dark = (((x - x0) / 8) + ((y - y0) / 8)) % 2;
            float g    = dark ? 0.35f : 0.5f;
            cv.put(x, y, rgba(g, g, g), 1);
        }
}

// Copies a picture scaled by nearest sampling with its top left corner at (x, y).
void blit(Canvas& cv, const Canvas& pic, int x, int y, float scale, bool board)
{
    int w = static_cast<int>(pic.w * scale), h = static_cast<int>(pic.h * scale);
    if (board)
        checker(cv, x, y, w, h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const float* s = pic.at(std::min(pic.w - 1, static_cast<int>(i / scale)),
                                    std::min(pic.h - 1, static_cast<int>(j / scale)));
            float        a = s[3];
            if (a > 0)
                cv.put(x + i, y + j, rgba(s[0] / a, s[1] / a, s[2] / a, a), 1);
        }
}

// A screen of 640 x 480 units (y up, origin bottom left) placed on the sheet.
struct Screen {
    Canvas& cv;
    int     ox, oy;
    // Draws the axis-aligned quad x0..x1, y0..y1 with s and t running linearly over it,
    // sampled nearest with repeat, modulated by `tint`.
    void quad(const Canvas& pic, float x0, float y0, float x1, float y1, float s0, float t0,
              float s1, float t1, Rgba tint = rgba(1, 1, 1)) const
    {
        for (int y = static_cast<int>(std::ceil(y0 - 0.5f)); y + 0.5f < y1; ++y)
            for (int x = static_cast<int>(std::ceil(x0 - 0.5f)); x + 0.5f < x1; ++x) {
                if (x < 0 || y < 0 || x >= 640 || y >= 480)
                    continue;
                float        s  = s0 + (s1 - s0) * (x + 0.5f - x0) / (x1 - x0);
                float        t  = t0 + (t1 - t0) * (y + 0.5f - y0) / (y1 - y0);
                float        fs = s - std::floor(s), ft = t - std::floor(t);
                int          px = std::min(pic.w - 1, static_cast<int>(fs * pic.w));
                int          py = pic.h - 1 - std::min(pic.h - 1, static_cast<int>(ft * pic.h));
                const float* p  = pic.at(px, py);
                float        a  = p[3];
                if (a <= 0)
                    continue;
                cv.put(ox + x, oy + 479 - y,
                       rgba(p[0] / a * tint.r, p[1] / a * tint.g, p[2] / a * tint.b, a * tint.a),
                       1);
            }
    }
    void text(const Canvas& font, int x, int y, bool half, const std::string& s, Rgba colour) const
    {
        float k = half ? 0.5f : 1.0f;
        for (size_t n = 0; n < s.size(); ++n) {
            int cell = static_cast<unsigned char>(s[n]) - 32;
            if (cell < 0)
                continue;
            float u = (cell % 16) / 16.0f, v = 1 - (cell / 16) / 16.0f;
            float gx = x + 20 * k * n;
            quad(font, gx, static_cast<float>(y), gx + 16 * k, y + 16 * k, u, v - 0.0625f,
                 u + 0.0625f, v - 0.001f, colour);
        }
    }
};

void label(Canvas& cv, const Canvas& font, int x, int y, const std::string& s)
{
    // Labels are drawn by a 640 x 480 screen placed so its bottom line is at y.
    Screen sc{cv, x, y - 479};
    sc.text(font, 0, 0, true, s, rgba(0.8f, 0.9f, 1.0f));
}

void titleMock(const Screen& sc, const std::vector<ArchivePicture>& pics)
{
    const Canvas& font = *find(pics, "fontImage");
    sc.quad(*find(pics, "backdrop"), 0, 0, 640, 480, 0, 0.66f, 1, 1);
    sc.quad(*find(pics, "logo"), 120, 230, 620, 430, 0, 0, 1, 1);
    sc.text(font, 100, 150, false, "PRESS SPACEBAR TO PLAY", rgba(0, 1, 0));
    sc.text(font, 120, 110, false, "PRESS ESCAPE TO QUIT", rgba(1, 0, 0));
    sc.text(font, 150, 460, false, "HIGH SCORE  10000", rgba(1, 1, 1));
    sc.text(font, 20, 10, true, "Swarm! - made by the Swarm team, with thanks to you for playing.",
            rgba(1, 1, 1));
}

void playMock(const Screen& sc, const std::vector<ArchivePicture>& pics)
{
    const Canvas& font = *find(pics, "fontImage");
    const Canvas& ship = *find(pics, "shipSheet");
    for (int y = 0; y < 480; ++y)
        sc.cv.put(sc.ox + 139, sc.oy + y, rgba(1, 1, 1), 1);
    for (int k = 0; k < 7; ++k) {
        int x = 10 + 25 * (k % 5), y = 10 + 25 * (k / 5);
        sc.quad(ship, x, y, x + 20, y + 20, 0, 0, 0.21f, 1);
    }
    sc.quad(*find(pics, "logo"), 0, 350, 160, 460, 0, 0, 1, 1);
    sc.text(font, 5, 300, true, "HIGH SCORE:", rgba(1, 1, 1));
    sc.text(font, 0, 275, false, " 10000", rgba(1, 1, 1));
    sc.text(font, 5, 250, true, "SCORE:", rgba(1, 1, 1));
    sc.text(font, 0, 225, false, "  1234", rgba(1, 1, 1));
    sc.text(font, 5, 200, true, "ENEMIES", rgba(1, 1, 1));
    sc.text(font, 5, 190, true, "REMAINING:", rgba(1, 1, 1));
    sc.text(font, 60, 165, false, " 12", rgba(1, 1, 1));
    sc.quad(*find(pics, "backdrop"), 140, 0, 640, 480, 0, 0.9f, 1, 1.15f);
    for (int k = 0; k < 9; ++k) {
        float x = 175 + 52 * k, y = 400 - (k % 2) * 40;
        sc.quad(*find(pics, "enemySprites[" + std::to_string(k) + "]"), x - 17, y - 17, x + 17,
                y + 17, 0, 0, 1, 1);
    }
    sc.quad(*find(pics, "enemySprites[3]"), 430, 250, 464, 284, 0, 0, 1, 1, rgba(0.5f, 0.5f, 0.5f));
    sc.quad(*find(pics, "explosionRing"), 447 - 30, 267 - 30, 447 + 30, 267 + 30, 0, 0, 1, 1);
    for (int n = 1; n <= 4; ++n)
        sc.quad(ship, 150 + 60 * n, 120, 199 + 60 * n, 169, 0.2f * n, 0, 0.2f * n + 0.2f, 1);
    sc.quad(ship, 366, 0, 415, 49, 0, 0, 0.21f, 1);
    for (int y = 70; y < 90; ++y)
        sc.cv.put(sc.ox + 390, sc.oy + 479 - y, rgba(1, 1, 0.4f), 1);
    sc.text(font, 310, 240, false, "WAVE   1", rgba(1, 1, 1));
    sc.text(font, 290, 200, false, "GET READY!", rgba(0, 0, 1));
}

} // namespace

bool writePreview(const std::string& path, const std::vector<ArchivePicture>& pics)
{
    const int     W = 1320, H = 1430;
    Canvas        cv(W, H, rgba(0.1f, 0.1f, 0.13f));
    const Canvas& font = *find(pics, "fontImage");

    label(cv, font, 10, 18, "shipSheet x3");
    blit(cv, *find(pics, "shipSheet"), 10, 22, 3, true);
    label(cv, font, 800, 18, "introImage");
    blit(cv, *find(pics, "introImage"), 800, 22, 1, false);
    label(cv, font, 10, 236, "backdrop x0.5");
    blit(cv, *find(pics, "backdrop"), 10, 240, 0.5f, false);
    label(cv, font, 280, 236, "fontImage x2");
    blit(cv, *find(pics, "fontImage"), 280, 240, 2, true);
    label(cv, font, 800, 236, "logo");
    blit(cv, *find(pics, "logo"), 800, 240, 1, true);
    label(cv, font, 800, 166, "explosionRing x1 x2");
    blit(cv, *find(pics, "explosionRing"), 800, 170, 1, true);
    blit(cv, *find(pics, "explosionRing"), 1180, 520 + 280, 2, true);

    for (int k = 0; k < 9; ++k) {
        label(cv, font, 800 + (k % 4) * 130, 516 + (k / 4) * 140, "enemy " + std::to_string(k));
        blit(cv, *find(pics, "enemySprites[" + std::to_string(k) + "]"), 800 + (k % 4) * 130,
             520 + (k / 4) * 140, 2, true);
    }

    // The font in use, from the glyph cells, at both sizes.
    Screen      sample{cv, 10, 397};
    const char* lines[] = {"THE QUICK BROWN FOX 0123456789 !?",
                           "the quick brown fox jumps over the lazy dog",
                           "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"};
    for (int i = 0; i < 3; ++i) {
        sample.text(font, 0, 90 - 24 * i, false, lines[i], rgba(1, 1, 1));
        sample.text(font, 0, 20 - 12 * i, true, lines[i], rgba(1, 1, 0.6f));
    }
    Screen scaled{cv, 10, 915 - 479};
    scaled.text(font, 0, 0, true, "SCORE:  1234  HIGH SCORE: 10000", rgba(0.3f, 1, 0.3f));

    label(cv, font, 10, 926, "title screen (mock)");
    titleMock(Screen{cv, 10, 930}, pics);
    label(cv, font, 670, 926, "play screen (mock)");
    playMock(Screen{cv, 670, 930}, pics);

    std::vector<uint8_t> bytes = cv.bytes(3);
    return writePng(path, bytes.data(), W, H, 3);
}
