// Checks the generated graphics archive: layout, determinism and the pictures' constraints.
#include "files.h"
#include "gfx/archive_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

// Parsing archive entries.
namespace assets {

// One picture of the archive as stored: B, G, R (A), bottom row first.
struct Picture {
    int   width = 0, height = 0, depth = 0;
    Bytes pixels;
    // Channel c (0 blue, 1 green, 2 red, 3 alpha) at column x and row y counted from the top.
    int at(int x, int yFromTop, int c) const
    {
        int row = height - 1 - yFromTop;
        return pixels[(static_cast<size_t>(row) * width + x) * (depth / 8) + c];
    }
    int alpha(int x, int yFromTop) const { return depth == 32 ? at(x, yFromTop, 3) : 255; }
};

Picture pictureAt(const Bytes& archive, size_t offset)
{
    Picture p;
    if (offset + 18 > archive.size())
        return p;
    p.width  = static_cast<int>(le16(archive, offset + 12));
    p.height = static_cast<int>(le16(archive, offset + 14));
    p.depth  = archive[offset + 16];
    size_t n = static_cast<size_t>(p.width) * p.height * (p.depth / 8);
    if (offset + 18 + n <= archive.size())
        p.pixels.assign(archive.begin() + static_cast<long>(offset) + 18,
                        archive.begin() + static_cast<long>(offset + 18 + n));
    else
        p.width = p.height = 0;
    return p;
}

} // namespace assets

using namespace assets;

namespace {

// Size and depth of the generated picture of each entry of the layout, in its order.
struct Expected {
    int width, height, depth;
};

const Expected expectedPictures[archiveEntryCount] = {
    {256, 64, 32},   // shipSheet
    {512, 128, 24},  // introImage
    {512, 1024, 24}, // backdrop
    {256, 256, 32},  // fontImage
    {64, 64, 32},    // enemySprites[0]
    {64, 64, 32},    // enemySprites[1]
    {64, 64, 32},    // enemySprites[2]
    {64, 64, 32},    // enemySprites[3]
    {64, 64, 32},    // enemySprites[4]
    {64, 64, 32},    // enemySprites[5]
    {64, 64, 32},    // enemySprites[6]
    {64, 64, 32},    // enemySprites[7]
    {64, 64, 32},    // enemySprites[8]
    {64, 64, 32},    // explosionRing
    {512, 256, 32},  // logo
};

const Bytes& archive()
{
    static Bytes bytes = readBytes(dataPath("graphics.dat"));
    return bytes;
}

// The generated picture of entry `entry` of the layout.
Picture picture(int entry) { return pictureAt(archive(), size_t(archiveLayout[entry].offset)); }

TEST(AssetsArchive, EveryEntryMatchesTheTable)
{
    const Bytes& a = archive();
    ASSERT_FALSE(a.empty()) << "graphics.dat missing from " << SWARM_DATA_DIR;
    const uint8_t head[12]     = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const char    footer[18]   = "TRUEVISION-XFILE.";
    size_t        expectedNext = 0;
    for (int k = 0; k < archiveEntryCount; ++k) {
        const ArchiveEntry& entry = archiveLayout[k];
        const Expected&     e     = expectedPictures[k];
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(e.depth, entry.bitsPerPixel()) << "the game's alpha flag wants this depth";
        const size_t offset = size_t(entry.offset);
        EXPECT_EQ(offset, expectedNext) << "the previous entry does not end where this one starts";
        ASSERT_LE(offset + 18, a.size());
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(a[offset + i], head[i]) << "header byte " << i;
        EXPECT_EQ(le16(a, offset + 12), static_cast<uint32_t>(e.width));
        EXPECT_EQ(le16(a, offset + 14), static_cast<uint32_t>(e.height));
        EXPECT_EQ(a[offset + 16], e.depth);
        EXPECT_EQ(a[offset + 17], e.depth == 32 ? 0x08 : 0x00);
        size_t foot = offset + 18 + static_cast<size_t>(e.width) * e.height * (e.depth / 8);
        ASSERT_LE(foot + 26, a.size());
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(a[foot + i], 0) << "footer offsets byte " << i;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&a[foot + 8]), 17), footer);
        EXPECT_EQ(a[foot + 25], 0);
        expectedNext = foot + 26;
    }
    EXPECT_EQ(a.size(), expectedNext) << "the logo's footer must end the archive";
}

TEST(AssetsArchive, GeneratorIsByteForByteDeterministic)
{
    TempDir           firstDir, secondDir;
    const std::string first = firstDir.path(), second = secondDir.path();
    for (const std::string& dir : {first, second}) {
        std::string cmd =
            std::string(SWARM_ASSETGEN_PATH) + " --out " + dir + "/data --icons " + dir + "/icons";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    std::vector<std::string> files = {"icons/hicolor/32x32/apps/swarm.png",
                                      "icons/hicolor/256x256/apps/swarm.png"};
    std::istringstream       dataFiles(SWARM_DATA_FILES);
    for (std::string name; dataFiles >> name;)
        files.push_back("data/" + name);
    for (const std::string& f : files) {
        Bytes a = readBytes(first + "/" + f), b = readBytes(second + "/" + f);
        EXPECT_FALSE(a.empty()) << f;
        EXPECT_TRUE(a == b) << f << " differs between two runs";
    }
    EXPECT_TRUE(readBytes(first + "/data/graphics.dat") == archive())
        << "the build's archive differs from a fresh run";
}

// Ink bounds of the ship sheet's pictures, by column.
bool columnHasInk(const Picture& p, int x)
{
    for (int y = 0; y < p.height; ++y)
        if (p.alpha(x, y) > 0)
            return true;
    return false;
}

TEST(AssetsShipSheet, CellsKeepTheirMarginsAndTheShipIsCentredNoseUp)
{
    Picture p = picture(shipSheetEntry);
    ASSERT_EQ(p.width, 256);
    // The ship is drawn with s up to 0.21 (53.76 texels): the start of cell 1 stays clear.
    for (int x = 51; x <= 53; ++x)
        EXPECT_FALSE(columnHasInk(p, x)) << "column " << x;
    // Each explosion picture stays inside its own cell (cells are 51.2 texels wide).
    for (int n = 1; n <= 4; ++n) {
        int lo         = static_cast<int>(std::ceil(51.2 * n)),
            hi         = static_cast<int>(std::floor(51.2 * (n + 1))) - 1;
        int inkColumns = 0;
        for (int x = lo; x <= hi; ++x)
            inkColumns += columnHasInk(p, x);
        EXPECT_GT(inkColumns, 15) << "explosion picture " << n << " is missing";
        EXPECT_FALSE(columnHasInk(p, lo)) << "explosion " << n << " touches its left border";
        EXPECT_FALSE(columnHasInk(p, hi)) << "explosion " << n << " touches its right border";
    }
    // The ship: its weight sits on the column the shot leaves from (24.5 of 49 units, 26.88
    // texels), and its highest ink (the nose, top of the picture) is on that axis.
    double sum = 0, weight = 0;
    int    noseRow = -1, noseX = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < 51; ++x) {
            int a = p.alpha(x, y);
            sum += a * (x + 0.5);
            weight += a;
            if (a > 128 && noseRow < 0) {
                noseRow = y;
                noseX   = x;
            }
        }
    ASSERT_GT(weight, 0);
    EXPECT_NEAR(sum / weight, 26.88, 1.0);
    EXPECT_LT(noseRow, 8) << "the nose should be near the top";
    EXPECT_NEAR(noseX, 26.4, 2.0);
}

// Luma (0 to 255) of a texel of a stored picture.
double luma(const Picture& p, int x, int y)
{
    return 0.299 * p.at(x, y, 2) + 0.587 * p.at(x, y, 1) + 0.114 * p.at(x, y, 0);
}

TEST(AssetsShipSheet, ExplosionPicturesAreAtLeastAsBigAsTheShipAndEndBright)
{
    Picture p = picture(shipSheetEntry);
    ASSERT_EQ(p.width, 256);
    // Share of a cell's texels with alpha over a quarter; cell 0 is the ship.
    auto cover = [&](int n) {
        int lo = static_cast<int>(std::ceil(51.2 * n)), hi = static_cast<int>(51.2 * (n + 1));
        int on = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = lo; x < hi; ++x)
                on += p.alpha(x, y) > 64;
        return static_cast<double>(on) / ((hi - lo) * 64);
    };
    const double ship = cover(0);
    EXPECT_GT(ship, 0.3);
    // 1: a white-hot flash at least 44 of the cell's 49 units (46 texels) across.
    int left = 256, right = -1;
    for (int y = 0; y < 64; ++y)
        for (int x = 52; x < 102; ++x)
            if (p.alpha(x, y) > 128 && luma(p, x, y) > 220) {
                left  = std::min(left, x);
                right = std::max(right, x);
            }
    EXPECT_GE(right - left + 1, 46) << "flash width";
    // 2: a fireball over the whole cell with a white core.
    EXPECT_GT(cover(2), ship);
    EXPECT_GT(luma(p, static_cast<int>(51.2 * 2.5), 33), 230);
    // 3: sparks reach within 4 texels of the cell's left and right borders.
    bool nearLeft = false, nearRight = false;
    for (int y = 0; y < 64; ++y) {
        for (int x = 154; x < 158; ++x)
            nearLeft = nearLeft || p.alpha(x, y) > 64;
        for (int x = 200; x < 204; ++x)
            nearRight = nearRight || p.alpha(x, y) > 64;
    }
    EXPECT_TRUE(nearLeft && nearRight) << "sparks to the edges";
    EXPECT_GT(cover(3), ship * 0.8);
    // 4: smoke with embers, shown longest: big, and bright on the dark backdrop.
    EXPECT_GT(cover(4), ship * 0.8);
    double sum = 0, weight = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 206; x < 256; ++x) {
            sum += luma(p, x, y) * p.alpha(x, y);
            weight += p.alpha(x, y);
        }
    ASSERT_GT(weight, 0);
    EXPECT_GE(sum / weight, 120) << "mean luma of the smoke";
}

int cellInk(const Picture& font, int cell, int yFrom, int yTo, int step)
{
    int x0 = (cell % 16) * 16, y0 = (cell / 16) * 16, ink = 0;
    for (int y = yFrom; y < yTo; y += step)
        for (int x = step - 1; x < 16; x += step)
            ink += font.alpha(x0 + x, y0 + y) > 0;
    return ink;
}

// Relative luminance of an sRGB colour (0 to 255 per channel) and the contrast ratio of two.
double luminance(double r, double g, double b)
{
    auto lin = [](double c) {
        c /= 255;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(r) + 0.7152 * lin(g) + 0.0722 * lin(b);
}

double contrast(double l1, double l2)
{
    return (std::max(l1, l2) + 0.05) / (std::min(l1, l2) + 0.05);
}

TEST(AssetsFont, GlyphsAreSevenPixelsWideWithADarkShadowAndSurviveHalfSize)
{
    Picture font = picture(fontImageEntry);
    ASSERT_EQ(font.width, 256);
    std::set<Bytes> shapes;
    int             fullWidth = 0; // capitals and digits 7 design pixels (14 texels) wide
    for (int cell = 0; cell < 256; ++cell) {
        int code = cell + 32;
        SCOPED_TRACE(code);
        int  x0 = (cell % 16) * 16, y0 = (cell / 16) * 16;
        auto white = [&](int x, int y) {
            return x < 16 && y < 16 && font.alpha(x0 + x, y0 + y) == 255 &&
                   font.at(x0 + x, y0 + y, 0) == 255 && font.at(x0 + x, y0 + y, 2) == 255;
        };
        auto shadow = [&](int x, int y) {
            return x < 16 && y < 16 && font.alpha(x0 + x, y0 + y) == 255 &&
                   font.at(x0 + x, y0 + y, 0) == 0 && font.at(x0 + x, y0 + y, 1) == 0 &&
                   font.at(x0 + x, y0 + y, 2) == 0;
        };
        int ink = cellInk(font, cell, 0, 16, 1);
        if (code == 32 || code > 126) {
            EXPECT_EQ(ink, 0) << "cell " << cell << " should be empty";
            continue;
        }
        EXPECT_GT(ink, 8) << "glyph has no ink";
        // At half size the quad samples every other texel; ink and shadow must be made of
        // 2 x 2 blocks that such sampling still sees.
        EXPECT_EQ(cellInk(font, cell, 1, 16, 2) * 4, ink) << "glyph loses ink at half size";
        int   left = 16, right = -1;
        Bytes shape;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                int a = font.alpha(x0 + x, y0 + y);
                shape.push_back(static_cast<uint8_t>(white(x, y) ? 2 : a > 0));
                EXPECT_TRUE(a == 0 || white(x, y) || shadow(x, y))
                    << "texel " << x << "," << y << " is neither glyph nor shadow";
                if (!white(x, y))
                    continue;
                left  = std::min(left, x);
                right = std::max(right, x);
                // Two texels right of and below the ink: more ink or the dark shadow.
                EXPECT_TRUE(white(x + 2, y + 2) || shadow(x + 2, y + 2)) << x << "," << y;
                EXPECT_TRUE(white(x + 2, y) || shadow(x + 2, y)) << x << "," << y;
                EXPECT_TRUE(white(x, y + 2) || shadow(x, y + 2)) << x << "," << y;
            }
        EXPECT_LE(right, 13) << "ink leaves no room for the shadow";
        if (std::isupper(code) || std::isdigit(code))
            fullWidth += right - left + 1 == 14;
        EXPECT_TRUE(shapes.insert(shape).second) << "glyph repeats another glyph";
    }
    EXPECT_GE(fullWidth, 34) << "of 36 capitals and digits (I and 1 are narrower)";
    // Text in any of the game's colours meets black at its edges, whatever lies behind:
    // white text stands at 21:1 and blue at 2.4:1, the most a pure blue can have.
    EXPECT_NEAR(contrast(luminance(255, 255, 255), luminance(0, 0, 0)), 21.0, 0.01);
    EXPECT_GT(contrast(luminance(0, 0, 255), luminance(0, 0, 0)), 2.4);
}

double rowDifference(const Picture& p, int a, int b)
{
    double sum = 0;
    for (int x = 0; x < p.width; ++x)
        for (int c = 0; c < 3; ++c)
            sum += std::abs(p.at(x, a, c) - p.at(x, b, c));
    return sum / (p.width * 3);
}

double columnDifference(const Picture& p, int a, int b)
{
    double sum = 0;
    for (int y = 0; y < p.height; ++y)
        for (int c = 0; c < 3; ++c)
            sum += std::abs(p.at(a, y, c) - p.at(b, y, c));
    return sum / (p.height * 3);
}

TEST(AssetsBackdrop, TilesWithoutSeamAndKeepsTheTitleAreaDark)
{
    Picture p = picture(backdropEntry);
    ASSERT_EQ(p.height, 1024);
    double neighbours = 0;
    for (int y = 0; y + 1 < p.height; ++y)
        neighbours += rowDifference(p, y, y + 1);
    neighbours /= p.height - 1;
    EXPECT_LT(rowDifference(p, p.height - 1, 0), neighbours * 1.5 + 0.5) << "vertical seam";
    double columns = 0;
    for (int x = 0; x + 1 < p.width; ++x)
        columns += columnDifference(p, x, x + 1);
    columns /= p.width - 1;
    EXPECT_LT(columnDifference(p, p.width - 1, 0), columns * 1.5 + 0.5) << "horizontal seam";

    // The title shows the top 34 percent behind its texts: dark, and darker than the rest.
    auto meanLevel = [&](int fromRow, int toRow) {
        double sum = 0;
        for (int y = fromRow; y < toRow; ++y)
            for (int x = 0; x < p.width; ++x)
                sum += (p.at(x, y, 0) + p.at(x, y, 1) + p.at(x, y, 2)) / 3.0;
        return sum / ((toRow - fromRow) * p.width);
    };
    double title = meanLevel(0, 348), rest = meanLevel(348, 1024);
    EXPECT_LT(title, 20.0);
    EXPECT_GT(rest, 4.0) << "the play field needs some nebula";
    EXPECT_LT(title, rest);
}

TEST(AssetsSprites, EnemiesAreDistinctSymmetricAndFillTheirPicture)
{
    std::set<Bytes> seen;
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        Picture p = picture(firstEnemyEntry + k);
        ASSERT_EQ(p.width, 64);
        int opaque = 0, asymmetric = 0, minX = 64, maxX = -1, minY = 64, maxY = -1;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                int a = p.alpha(x, y);
                if (a > 40) { // translucent wings count too
                    ++opaque;
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
                asymmetric += std::abs(a - p.alpha(63 - x, y)) > 64;
            }
        EXPECT_GT(opaque, 64 * 64 / 4) << "too little of the picture is used";
        EXPECT_GT(maxX - minX, 44);
        EXPECT_GT(maxY - minY, 44);
        EXPECT_LT(asymmetric, 64) << "not mirror-symmetric";
        for (int c : {0, 63})
            for (int r : {0, 63})
                EXPECT_EQ(p.alpha(c, r), 0) << "corner not transparent";
        EXPECT_TRUE(seen.insert(p.pixels).second) << "same picture as another enemy";
    }
}

TEST(AssetsSprites, EveryEnemyHasALightRimAndNoNearBlackBody)
{
    const double floorLuma = 0.299 * 90 + 0.587 * 70 + 0.114 * 110; // a dusky violet, 79
    for (int k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        Picture p     = picture(firstEnemyEntry + k);
        auto    solid = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < 64 && y < 64 && p.alpha(x, y) >= 128;
        };
        double              rimSum = 0;
        int                 rim = 0, body = 0, nearBlack = 0;
        std::vector<double> tones;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                if (!solid(x, y))
                    continue;
                ++body;
                tones.push_back(luma(p, x, y));
                nearBlack += luma(p, x, y) < 0.03 * 255;
                if (!solid(x - 1, y) || !solid(x + 1, y) || !solid(x, y - 1) || !solid(x, y + 1)) {
                    rimSum += luma(p, x, y);
                    ++rim;
                }
            }
        ASSERT_GT(rim, 0);
        EXPECT_GE(rimSum / rim, 0.25 * 255) << "mean luma of the silhouette's outer texels";
        EXPECT_EQ(nearBlack, 0) << "of " << body << " solid texels";
        std::sort(tones.begin(), tones.end());
        EXPECT_GE(tones[tones.size() / 20], floorLuma * 0.85) << "the darkest 5 % of the body";
    }
}

TEST(AssetsSprites, ExplosionRingIsASparseBurstThatFadesTowardItsEdgeAndTheLogoStandsOnTransparency)
{
    Picture ring = picture(explosionRingEntry);
    ASSERT_EQ(ring.width, 64);
    EXPECT_EQ(ring.alpha(32, 32), 0) << "centre must be transparent";
    // Mean and highest alpha in bands of radius.
    auto band = [&](double r0, double r1, bool highest) {
        double sum = 0, top = 0;
        int    n = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                double r = std::hypot(x + 0.5 - 32, y + 0.5 - 32);
                if (r < r0 || r >= r1)
                    continue;
                sum += ring.alpha(x, y);
                top = std::max(top, static_cast<double>(ring.alpha(x, y)));
                ++n;
            }
        return highest ? top : sum / std::max(n, 1);
    };
    const double peak = band(0, 46, true);
    EXPECT_GE(peak, 0.5 * 255);
    EXPECT_LE(peak, 0.65 * 255) << "peak alpha about 0.6";
    EXPECT_GT(band(19, 23, false), 0.25 * 255) << "a shock ring at radius 21";
    EXPECT_LT(band(30, 46, true), 0.1 * 255) << "alpha fades out before the edge";
    EXPECT_LT(band(26, 30, false), band(18, 24, false) / 2);
    // Sparse: most of the burst's disc is clear.
    int clear = 0, disc = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (std::hypot(x + 0.5 - 32, y + 0.5 - 32) < 30) {
                ++disc;
                clear += ring.alpha(x, y) < 13;
            }
    EXPECT_GT(clear, disc / 2);
    // Around the circle of radius 15, inside the shock ring, the streaks: 12 to 16 of them.
    int  streaks = 0;
    bool inside  = false;
    for (int k = 0; k <= 720; ++k) {
        double a = k * M_PI / 360;
        int    x = static_cast<int>(32 + 15 * std::cos(a)),
            y    = static_cast<int>(32 + 15 * std::sin(a));
        bool on  = ring.alpha(x, y) > 40;
        if (on && !inside && k < 720)
            ++streaks;
        inside = on;
    }
    if (ring.alpha(static_cast<int>(32 + 15.0), 32) > 40 && inside)
        --streaks; // the run across angle 0 was counted twice
    EXPECT_GE(streaks, 12);
    EXPECT_LE(streaks, 16);

    Picture logo = picture(logoEntry);
    ASSERT_EQ(logo.width, 512);
    int opaque = 0;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            opaque += logo.alpha(x, y) > 200;
    EXPECT_GT(opaque, 512 * 256 / 8) << "the word should be big and bold";
    for (int x : {0, 511})
        for (int y : {0, 255})
            EXPECT_EQ(logo.alpha(x, y), 0);
}

TEST(AssetsTitles, LogoWordIsCentredAtFortyPercentAndEndsBeforeThePanelEdge)
{
    Picture logo = picture(logoEntry);
    ASSERT_EQ(logo.width, 512);
    int left = logo.width, right = -1;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x)
            if (logo.alpha(x, y) > 128) {
                left  = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GE(right, 0);
    const double s0 = left / 512.0, s1 = (right + 1) / 512.0;
    EXPECT_GE(s0, 0.03);
    EXPECT_LE(s1, 0.80) << "the status panel shows the logo up to s 0.875";
    EXPECT_NEAR((s0 + s1) / 2, 0.40, 0.01) << "centred over the title's texts";
    EXPECT_GT(s1 - s0, 0.7) << "the word should still fill the logo";
    // Nothing beyond s 0.875, where the panel's backdrop covers it, nor at the far edges.
    for (int y = 0; y < logo.height; ++y)
        for (int x = 448; x < logo.width; ++x)
            ASSERT_LT(logo.alpha(x, y), 40) << x << "," << y;
}

TEST(AssetsTitles, IntroPictureFadesIntoTheBlueBackgroundAtItsBorder)
{
    Picture intro = picture(introImageEntry);
    ASSERT_EQ(intro.width, 512);
    ASSERT_EQ(intro.height, 128);
    auto blue = [&](int x, int y) {
        return intro.at(x, y, 0) == 255 && intro.at(x, y, 1) == 0 && intro.at(x, y, 2) == 0;
    };
    for (int y = 0; y < intro.height; ++y)
        for (int x = 0; x < intro.width; ++x) {
            int d = std::min(std::min(x, 511 - x), std::min(y, 127 - y));
            if (d < 16) {
                ASSERT_TRUE(blue(x, y)) << "border at " << x << "," << y;
            }
        }
    // Feathered: from the border inwards the picture takes over step by step, without a
    // hard edge, and the middle is the picture.
    for (int y : {40, 64, 90}) {
        int step = 0;
        for (int x = 0; x < 28; ++x) // the letters start further in
            for (int c = 0; c < 3; ++c)
                step = std::max(step, std::abs(intro.at(x + 1, y, c) - intro.at(x, y, c)));
        EXPECT_LT(step, 60) << "row " << y;
        EXPECT_FALSE(blue(40, y));
    }
    int picture = 0;
    for (int y = 32; y < 96; ++y)
        for (int x = 32; x < 480; ++x)
            picture += !blue(x, y);
    EXPECT_EQ(picture, 64 * 448);
}

} // namespace
