// The bitmap font and drawText, checked on the rendered picture: with a font
// whose cells are coded by colour (exact placement and cell mapping) and with
// the game's own font (the same placement rules on the real glyphs).
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx_test_archive.h"
#include "process.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace gfxtest;

namespace {

constexpr Rgba black = {0, 0, 0, 255};

Screen drawnOnBlack(const std::function<void()>& draw)
{
    useScreenSpace();
    clearScreen(0, 0, 0);
    glColor3d(1, 1, 1);
    draw();
    return Screen();
}

// Every pixel of the glyph square at (x, y) shows font cell `cell`.
::testing::AssertionResult squareShows(const Screen& s, int x, int y, int size, int cell)
{
    const Rgba c = fontCellColour(cell);
    for (int dy = 0; dy < size; ++dy)
        for (int dx = 0; dx < size; ++dx)
            if (!s.sameAs(c, x + dx, y + dy)) {
                const Rgba p = s.at(x + dx, y + dy);
                return ::testing::AssertionFailure()
                       << "cell " << cell << " at (" << x + dx << "," << y + dy << ") is "
                       << int(p.r) << "," << int(p.g) << "," << int(p.b);
            }
    return ::testing::AssertionSuccess();
}

// --- A font whose cell i is filled with the colour (i, 255 - i, 128). ---

class GfxFont : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { dir = loadHandMadeGraphics(); }
    static void TearDownTestSuite()
    {
        EXPECT_TRUE(loadGameGraphics());
        dir.reset();
    }
    void TearDown() override { glLoadIdentity(); }

    static std::unique_ptr<TempDir> dir;
};
std::unique_ptr<TempDir> GfxFont::dir;

TEST_F(GfxFont, EveryCodeFrom32DrawsItsOwnCell)
{
    const Screen s = drawnOnBlack([] {
        for (int c = 32; c < 256; ++c) {
            const int k = c - 32;
            drawText(10 + 20 * (k % 30), 10 + 24 * (k / 30), false, "%c", char(c));
        }
    });
    for (int c = 32; c < 256; ++c) {
        const int k = c - 32;
        EXPECT_TRUE(squareShows(s, 10 + 20 * (k % 30), 10 + 24 * (k / 30), 16, k)) << "code " << c;
    }
    // Nothing in the 4-unit gap behind a glyph.
    EXPECT_TRUE(s.sameAs(black, 26, 18));
    EXPECT_TRUE(s.sameAs(black, 29, 18));
}

TEST_F(GfxFont, FullAndHalfSizeTextsCoverTheirBoxesFromTheSameCorner)
{
    Screen full = drawnOnBlack([] { drawText(100, 200, false, "ABC"); });
    auto   box  = full.inkBox(black);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.right, 100 + 20 * 3 - 4 - 1);
    EXPECT_EQ(box.bottom, 200);
    EXPECT_EQ(box.top, 215);
    EXPECT_TRUE(squareShows(full, 120, 200, 16, 'B' - 32));
    EXPECT_TRUE(full.sameAs(black, 116, 208));
    EXPECT_TRUE(full.sameAs(black, 119, 208));

    Screen half = drawnOnBlack([] { drawText(100, 200, true, "ABC"); });
    box         = half.inkBox(black);
    EXPECT_EQ(box.left, 100);
    EXPECT_EQ(box.right, 100 + 10 * 3 - 2 - 1);
    EXPECT_EQ(box.bottom, 200);
    EXPECT_EQ(box.top, 207);
    EXPECT_TRUE(squareShows(half, 110, 200, 8, 'B' - 32));
    EXPECT_TRUE(squareShows(half, 120, 200, 8, 'C' - 32));
    EXPECT_TRUE(half.sameAs(black, 108, 204));
}

TEST_F(GfxFont, ControlCharactersDrawNothingAndDoNotAdvance)
{
    const Screen s = drawnOnBlack([] {
        drawText(300, 100, false,
                 "A\x01\x1f"
                 "B\t");
    });
    EXPECT_EQ(decodeText(s, 300, 100, false, 2, 0), "AB");
    const auto box = s.inkBox(black);
    EXPECT_EQ(box.left, 300);
    EXPECT_EQ(box.right, 335);

    EXPECT_TRUE(
        drawnOnBlack([] { drawText(300, 100, false, "\x01\n\x1f"); }).inkBox(black).empty());
    EXPECT_TRUE(drawnOnBlack([] { drawText(300, 100, false, "%s", ""); }).inkBox(black).empty());
}

TEST_F(GfxFont, SpaceDrawsCellZeroAndAdvances)
{
    const Screen s = drawnOnBlack([] { drawText(40, 40, false, " A"); });
    EXPECT_TRUE(squareShows(s, 40, 40, 16, 0));
    EXPECT_TRUE(squareShows(s, 60, 40, 16, 'A' - 32));
}

TEST_F(GfxFont, FormattedNumberIsRightAligned)
{
    Screen s = drawnOnBlack([] { drawText(100, 300, false, "%6i", 42); });
    EXPECT_EQ(decodeText(s, 100, 300, false, 6, 0), "    42");
    EXPECT_TRUE(squareShows(s, 180, 300, 16, '4' - 32)) << "digits start 80 units on";

    s = drawnOnBlack([] { drawText(150, 460, false, "HIGH SCORE%7i", 10000); });
    EXPECT_EQ(decodeText(s, 150, 460, false, 17, 0), "HIGH SCORE  10000");
}

TEST_F(GfxFont, TextLandsAtItsPlaceWhateverTheModelView)
{
    glMatrixMode(GL_MODELVIEW);
    useScreenSpace();
    clearScreen(0, 0, 0);
    glRotated(33.0, 0, 0, 1);
    glTranslated(70, -20, 0);
    glScaled(3, 3, 1);
    GLdouble before[16], after[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, before);
    glColor4d(1, 1, 1, 1);
    drawText(200, 300, false, "AB");
    glGetDoublev(GL_MODELVIEW_MATRIX, after);

    const Screen s = Screen();
    EXPECT_EQ(decodeText(s, 200, 300, false, 2, 0), "AB");
    const auto box = s.inkBox(black);
    EXPECT_EQ(box.left, 200);
    EXPECT_EQ(box.right, 235);
    EXPECT_EQ(box.bottom, 300);
    EXPECT_EQ(box.top, 315);

    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(before[i], after[i]) << "the caller's matrix is restored";
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), fontImage.texture);
}

TEST_F(GfxFont, TextTakesTheCallersColour)
{
    Screen    s    = drawnOnBlack([] {
        glColor3d(1, 0, 0);
        drawText(100, 100, false, "A");
        glColor3d(0, 0.5, 0);
        drawText(200, 100, false, "A");
    });
    const int cell = 'A' - 32;
    EXPECT_TRUE(s.sameAs({uint8_t(cell), 0, 0, 255}, 108, 108));
    const Rgba dim = s.at(208, 108);
    EXPECT_EQ(dim.r, 0);
    EXPECT_NEAR(dim.g, (255 - cell) / 2.0, 1.0);
    EXPECT_EQ(dim.b, 0);
    GLdouble colour[4];
    glGetDoublev(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 0.0);
    EXPECT_EQ(colour[1], 0.5);
}

TEST_F(GfxFont, TextLongerThanTheBufferIsCutAfter255Characters)
{
    // 254 'A', then 'B' as the 255th character, then 45 more that must not show.
    const std::string text = std::string(254, 'A') + "B" + std::string(45, 'C');
    const Screen s = drawnOnBlack([&] { drawText(100 - 2540, 100, true, "%s", text.c_str()); });
    EXPECT_TRUE(squareShows(s, 100, 100, 8, 'B' - 32));
    EXPECT_EQ(s.inkBox(black).right, 107);
}

TEST_F(GfxFont, ReleaseDeletesTheListsAndBuildMakesThemAgain)
{
    ASSERT_NE(fontBase, 0u);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(glIsList(fontBase + i)) << i;
    const uint32_t old = fontBase;
    releaseFont();
    EXPECT_EQ(fontBase, 0u);
    for (int i = 0; i < 256; ++i)
        ASSERT_FALSE(glIsList(old + i)) << i;
    buildFont();
    ASSERT_NE(fontBase, 0u);
    const Screen s = drawnOnBlack([] { drawText(100, 100, false, "Z"); });
    EXPECT_TRUE(squareShows(s, 100, 100, 16, 'Z' - 32));
}

// --- The game's own font, from the generated graphics.dat. ---

class GfxRealFont : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(loadGameGraphics()); }
    void TearDown() override { glLoadIdentity(); }
};

TEST_F(GfxRealFont, GlyphsStayInsideTheirBoxes)
{
    for (const bool half : {false, true}) {
        SCOPED_TRACE(half ? "half" : "full");
        const Screen s   = drawnOnBlack([&] { drawText(100, 200, half, "SWARM!"); });
        const auto   box = s.inkBox(black);
        ASSERT_FALSE(box.empty());
        const int step = half ? 10 : 20, size = half ? 8 : 16;
        EXPECT_GE(box.left, 100);
        EXPECT_LT(box.left, 100 + size);
        EXPECT_LE(box.right, 100 + 6 * step - (step - size) - 1);
        EXPECT_GT(box.right, 100 + 5 * step);
        EXPECT_GE(box.bottom, 200);
        EXPECT_LE(box.top, 200 + size - 1);
    }
}

TEST_F(GfxRealFont, FormattedNumberStandsEightyUnitsOn)
{
    const Screen padded = drawnOnBlack([] { drawText(100, 200, false, "%6i", 42); });
    const Screen plain  = drawnOnBlack([] { drawText(180, 200, false, "42"); });
    EXPECT_FALSE(plain.inkBox(black).empty());
    EXPECT_TRUE(padded == plain);
    EXPECT_GE(padded.inkBox(black).left, 180);

    const Screen halfPadded = drawnOnBlack([] { drawText(100, 200, true, "%6i", 42); });
    const Screen halfPlain  = drawnOnBlack([] { drawText(140, 200, true, "42"); });
    EXPECT_TRUE(halfPadded == halfPlain);
}

TEST_F(GfxRealFont, ControlCharacterNeitherDrawsNorAdvances)
{
    const Screen withControl = drawnOnBlack([] {
        drawText(50, 50, false,
                 "A\x01"
                 "B");
    });
    EXPECT_TRUE(withControl == drawnOnBlack([] { drawText(50, 50, false, "AB"); }));
    EXPECT_TRUE(drawnOnBlack([] { drawText(50, 50, false, "\x01\x1b"); }).inkBox(black).empty());
}

TEST_F(GfxRealFont, RotatedModelViewDoesNotMoveTheText)
{
    const Screen straight = drawnOnBlack([] { drawText(200, 300, false, "WAVE 1"); });
    const Screen rotated  = drawnOnBlack([] {
        glRotated(90.0, 0, 0, 1);
        glTranslated(-40, 12, 0);
        drawText(200, 300, false, "WAVE 1");
    });
    EXPECT_TRUE(straight == rotated);
}

TEST_F(GfxRealFont, GlyphsTakeTheColourAndLeaveTheBackgroundAlone)
{
    const Screen s   = drawnOnBlack([] {
        glColor3d(0, 1, 0);
        drawText(100, 150, false, "PRESS SPACEBAR TO PLAY");
    });
    int          ink = 0;
    for (int y = 150; y < 166; ++y)
        for (int x = 100; x < 536; ++x) {
            const Rgba p = s.at(x, y);
            if (p.g != 0)
                ++ink;
            ASSERT_EQ(p.r, 0) << x << "," << y;
            ASSERT_EQ(p.b, 0) << x << "," << y;
        }
    EXPECT_GT(ink, 22 * 10);
    const auto box = s.inkBox(black);
    EXPECT_GE(box.left, 100);
    EXPECT_LE(box.right, 535);
}

} // namespace
