// The graphics archive: reading TGA entries (damaged ones included) and loading
// the fifteen pictures as textures with the fixed drawing state.
#include "gfx/archive.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx_test_archive.h"
#include "process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

using namespace gfxtest;

namespace {

// A texture side limit that no 16-bit size reaches.
constexpr uint32_t anySide = 65536;

// An in-memory stream over `bytes` (which must outlive it).
std::FILE* openBytes(Bytes& bytes)
{
    return fmemopen(bytes.empty() ? nullptr : bytes.data(), bytes.size(), "r");
}

struct ReadResult {
    bool  ok;
    Image image;
};

ReadResult readAt(Bytes bytes, int32_t offset = 0)
{
    ReadResult result{false, Image{}};
    std::FILE* f = bytes.empty() ? std::tmpfile() : openBytes(bytes);
    if (!f) {
        ADD_FAILURE() << "cannot open a stream";
        return result;
    }
    result.ok = readArchivePicture(f, archiveFileSize(f), offset, anySide, result.image);
    std::fclose(f);
    return result;
}

void release(ReadResult& r)
{
    std::free(r.image.pixels);
    r.image.pixels = nullptr;
}

// 4 x 2 pixels at 24 bits (rows of 12 bytes); every channel of every pixel differs.
Rgba tinyPixel(int col, int row)
{
    return {uint8_t(10 * col + row), uint8_t(100 + col), uint8_t(200 + row),
            uint8_t(50 + 10 * col + row)};
}

TEST(GfxArchive, TinyPictureComesOutRgbBottomRowFirst)
{
    for (const uint8_t depth : {uint8_t(24), uint8_t(32)}) {
        SCOPED_TRACE(int(depth));
        ReadResult r = readAt(tgaEntry(4, 2, depth, tinyPixel));
        ASSERT_TRUE(r.ok);
        ASSERT_NE(r.image.pixels, nullptr);
        EXPECT_EQ(r.image.width, 4u);
        EXPECT_EQ(r.image.height, 2u);
        EXPECT_EQ(r.image.bitsPerPixel, depth);
        const int bytes = depth / 8;
        for (int row = 0; row < 2; ++row)
            for (int col = 0; col < 4; ++col) {
                const uint8_t* p = r.image.pixels + (row * 4 + col) * bytes;
                const Rgba     e = tinyPixel(col, row);
                EXPECT_EQ(p[0], e.r) << col << "," << row;
                EXPECT_EQ(p[1], e.g) << col << "," << row;
                EXPECT_EQ(p[2], e.b) << col << "," << row;
                if (depth == 32) {
                    EXPECT_EQ(p[3], e.a) << col << "," << row;
                }
            }
        release(r);
    }
}

TEST(GfxArchive, HeaderMustBeTheFixedTwelveBytes)
{
    // Image ID, colour map, run-length and black-and-white types, colour-map
    // fields, an x or y origin: each fails before the size is read.
    const struct {
        const char* what;
        int         index;
        uint8_t     value;
    } damages[] = {{"image ID", 0, 5},      {"colour map", 1, 1},      {"run-length", 2, 10},
                   {"grey", 2, 3},          {"colour-mapped", 2, 1},   {"map start", 3, 1},
                   {"map length", 5, 16},   {"map entry size", 7, 24}, {"x origin", 8, 1},
                   {"y origin high", 11, 1}};
    for (const auto& d : damages) {
        SCOPED_TRACE(d.what);
        Bytes entry    = solidEntry(4, 4, 32, {1, 2, 3, 4});
        entry[d.index] = d.value;
        ReadResult r   = readAt(entry);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.image.pixels, nullptr);
        EXPECT_EQ(r.image.width, 0u);
    }
}

TEST(GfxArchive, DepthAndZeroSizesAreRefusedAfterTheSizeIsStored)
{
    for (const uint8_t depth : {uint8_t(0), uint8_t(8), uint8_t(15), uint8_t(16), uint8_t(33)}) {
        SCOPED_TRACE(int(depth));
        Bytes entry  = solidEntry(4, 4, 32, {1, 2, 3, 4});
        entry[16]    = depth;
        ReadResult r = readAt(entry);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.image.pixels, nullptr);
        EXPECT_EQ(r.image.width, 4u);
        EXPECT_EQ(r.image.height, 4u);
        EXPECT_EQ(r.image.bitsPerPixel, 0u);
    }
    Bytes noWidth = solidEntry(4, 4, 24, {1, 2, 3, 4});
    noWidth[12]   = 0;
    ReadResult r  = readAt(noWidth);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.image.width, 0u);
    EXPECT_EQ(r.image.height, 4u);

    Bytes noHeight = solidEntry(4, 4, 24, {1, 2, 3, 4});
    noHeight[14]   = 0;
    r              = readAt(noHeight);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.image.height, 0u);
    EXPECT_EQ(r.image.pixels, nullptr);
}

TEST(GfxArchive, EntryCutShortAnywhereFailsButTheFooterIsNeverRead)
{
    const Bytes  full       = tgaEntry(4, 2, 32, tinyPixel);
    const size_t pictureEnd = 18 + 4 * 2 * 4;
    for (size_t cut = 0; cut < pictureEnd; ++cut) {
        SCOPED_TRACE(cut);
        ReadResult r = readAt(Bytes(full.begin(), full.begin() + cut));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.image.pixels, nullptr);
    }
    ReadResult r = readAt(Bytes(full.begin(), full.begin() + pictureEnd));
    EXPECT_TRUE(r.ok);
    release(r);
}

TEST(GfxArchive, ClaimedSizeBeyondTheFileFailsWithoutReadingOn)
{
    // 65535 x 65535 at 32 bits claims 16 GiB; the file holds 1000 bytes.
    Bytes entry = solidEntry(4, 4, 32, {1, 2, 3, 4});
    entry[12] = entry[13] = entry[14] = entry[15] = 0xff;
    entry.resize(1000, 7);
    std::FILE* f = openBytes(entry);
    ASSERT_NE(f, nullptr);
    Image image{};
    EXPECT_FALSE(readArchivePicture(f, archiveFileSize(f), 0, anySide, image));
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 65535u);
    EXPECT_EQ(image.height, 65535u);
    EXPECT_EQ(std::ftell(f), 18) << "no pixel byte is read for an impossible claim";
    std::fclose(f);

    // One byte short of the claim fails; the exact size loads.
    const Bytes exact    = solidEntry(4, 4, 32, {1, 2, 3, 4});
    ReadResult  shortOne = readAt(Bytes(exact.begin(), exact.begin() + 18 + 63));
    EXPECT_FALSE(shortOne.ok);
    ReadResult whole = readAt(Bytes(exact.begin(), exact.begin() + 18 + 64));
    EXPECT_TRUE(whole.ok);
    release(whole);
}

TEST(GfxArchive, PicturesBeyondTheTextureLimitOrTheByteCapFailUnread)
{
    // A side beyond what the upload takes, even with every byte there.
    Bytes entry = solidEntry(8, 4, 32, {1, 2, 3, 4});
    for (uint32_t side : {8u, 7u, 4u, 3u}) {
        std::FILE* f = openBytes(entry);
        ASSERT_NE(f, nullptr);
        Image image{};
        EXPECT_EQ(readArchivePicture(f, archiveFileSize(f), 0, side, image), side >= 8) << side;
        EXPECT_EQ(image.pixels != nullptr, side >= 8) << side;
        if (side < 8) {
            EXPECT_EQ(std::ftell(f), 18) << "no pixel byte is read; side " << side;
        }
        std::fclose(f);
        std::free(image.pixels);
    }

    // 2048 x 2048 at 32 bits is the most a picture may hold; one row more
    // fails though the stream holds it.
    Bytes       big(18 + maxPictureBytes + 4 * 2048, 0x5a);
    const Bytes header = solidEntry(1, 1, 32, {0, 0, 0, 0});
    std::copy(header.begin(), header.begin() + 18, big.begin());
    big[12] = 0x00;
    big[13] = 0x08; // 2048 wide
    for (const uint16_t height : {uint16_t(2048), uint16_t(2049)}) {
        big[14]         = uint8_t(height & 0xff);
        big[15]         = uint8_t(height >> 8);
        const bool fits = height == 2048;
        std::FILE* f    = openBytes(big);
        ASSERT_NE(f, nullptr);
        Image image{};
        EXPECT_EQ(readArchivePicture(f, archiveFileSize(f), 0, anySide, image), fits);
        EXPECT_EQ(image.pixels != nullptr, fits);
        if (!fits) {
            EXPECT_EQ(std::ftell(f), 18) << "no pixel byte is read";
        }
        std::fclose(f);
        std::free(image.pixels);
    }
}

TEST(GfxArchive, PictureIsReadAtItsOffsetOnly)
{
    Bytes       file(1000, 0xee);
    const Bytes entry = tgaEntry(4, 2, 24, tinyPixel);
    std::copy(entry.begin(), entry.end(), file.begin() + 500);

    ReadResult r = readAt(file, 500);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.image.pixels[0], tinyPixel(0, 0).r);
    release(r);

    EXPECT_FALSE(readAt(file, 0).ok) << "0xee bytes are no header";
    EXPECT_FALSE(readAt(file, 999).ok);
    EXPECT_FALSE(readAt(file, 5000).ok) << "past the end";
    EXPECT_FALSE(readAt(file, -18).ok);

    Image image{};
    EXPECT_FALSE(readArchivePicture(nullptr, 1000, 0, anySide, image)) << "archive not open";
    EXPECT_EQ(archiveFileSize(nullptr), -1);
}

TEST(GfxArchive, EveryValueOfEveryHeaderByteIsHandled)
{
    // 2 x 2 pixels at 32 bits plus the footer: 16 + 26 bytes behind the header.
    const Bytes  good   = solidEntry(2, 2, 32, {9, 8, 7, 6});
    const size_t behind = good.size() - 18;
    for (int index = 0; index < 18; ++index)
        for (int value = 0; value < 256; ++value) {
            Bytes entry  = good;
            entry[index] = uint8_t(value);
            ReadResult r = readAt(entry);

            const bool   fixedOk = index >= 12 || value == good[index];
            const size_t w = entry[12] + 256u * entry[13], h = entry[14] + 256u * entry[15];
            const int    depth    = entry[16];
            const bool   expected = fixedOk && w > 0 && h > 0 && (depth == 24 || depth == 32) &&
                                  w * h * (depth / 8) <= behind;
            ASSERT_EQ(r.ok, expected) << "byte " << index << " = " << value;
            ASSERT_EQ(r.image.pixels != nullptr, expected) << "byte " << index << " = " << value;
            release(r);
        }
}

// --- loadGraphics: the fifteen pictures of graphics.dat as textures. ---

class GfxImages : public ::testing::Test {
  protected:
    void TearDown() override { EXPECT_TRUE(loadGameGraphics()); }

    void writeArchive(const Bytes& bytes) { writeBytes(dir.file("graphics.dat"), bytes); }

    TempDir dir;
};

GLint textureLevelValue(GLuint texture, GLenum what)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, what, &value);
    return value;
}

TEST_F(GfxImages, EveryPictureBecomesATextureOfItsFormat)
{
    const auto entries = standardEntries();
    writeArchive(buildArchive(entries));
    loadGraphicsFrom(dir.path());

    std::vector<GLuint> names;
    for (const ArchiveRow& row : archiveRows()) {
        const Image& image = *row.image;
        SCOPED_TRACE(row.offset);
        ASSERT_NE(image.texture, 0u);
        ASSERT_NE(image.pixels, nullptr);
        EXPECT_TRUE(glIsTexture(image.texture));
        for (GLuint other : names)
            EXPECT_NE(other, image.texture);
        names.push_back(image.texture);
        EXPECT_EQ(image.bitsPerPixel, row.alpha ? 32u : 24u);
        EXPECT_EQ(textureLevelValue(image.texture, GL_TEXTURE_WIDTH), GLint(image.width));
        EXPECT_EQ(textureLevelValue(image.texture, GL_TEXTURE_HEIGHT), GLint(image.height));
        EXPECT_EQ(textureLevelValue(image.texture, GL_TEXTURE_ALPHA_SIZE) > 0, row.alpha);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_NEAREST);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_EQ(filter, GL_NEAREST);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &filter);
        EXPECT_EQ(filter, GL_REPEAT);
    }
    EXPECT_EQ(backdrop.width, 4u);
    EXPECT_EQ(backdrop.height, 100u);
    EXPECT_EQ(fontImage.width, 256u);

    // The texture holds the picture in R, G, B order, bottom row first.
    std::vector<uint8_t> texels(4 * 100 * 3);
    glBindTexture(GL_TEXTURE_2D, backdrop.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[0], backdropLower.r);
    EXPECT_EQ(texels[1], backdropLower.g);
    EXPECT_EQ(texels[2], backdropLower.b);
    EXPECT_EQ(texels[99 * 12 + 0], backdropUpper.r);
    EXPECT_EQ(texels[99 * 12 + 2], backdropUpper.b);
}

TEST_F(GfxImages, FixedDrawingStateAndFontAreSetUp)
{
    writeArchive(buildArchive(standardEntries()));
    loadGraphicsFrom(dir.path());

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint value = 0;
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
    EXPECT_EQ(value, GL_MODULATE);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0.0f);
    EXPECT_EQ(clear[1], 0.0f);
    EXPECT_EQ(clear[2], 1.0f);
    EXPECT_EQ(clear[3], 0.0f);
    GLdouble depth = 0;
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0);

    ASSERT_NE(fontBase, 0u);
    EXPECT_TRUE(glIsList(fontBase));
    EXPECT_TRUE(glIsList(fontBase + 255));
}

TEST_F(GfxImages, DamagedPicturesFailAloneAndTheOthersLoad)
{
    // Load good pictures first: a failed reload must not keep a stale texture.
    writeArchive(buildArchive(standardEntries()));
    loadGraphicsFrom(dir.path());
    ASSERT_NE(shipSheet.texture, 0u);

    auto entries   = standardEntries();
    entries[0][2]  = 10;                    // shipSheet: run-length encoded
    entries[1][16] = 16;                    // introImage: 16 bits per pixel
    entries[2][12] = entries[2][13] = 0;    // backdrop: width 0
    entries[3][1]                   = 1;    // fontImage: colour map
    entries[7][12] = entries[7][13] = 0xff; // enemySprites[3]: 65535 x 65535
    entries[7][14] = entries[7][15] = 0xff;
    entries[9][16]                  = 8; // enemySprites[5]: 8 bits per pixel
    writeArchive(buildArchive(entries));
    loadGraphicsFrom(dir.path());

    const std::vector<Image*> broken = {&shipSheet, &introImage,      &backdrop,
                                        &fontImage, &enemySprites[3], &enemySprites[5]};
    for (const ArchiveRow& row : archiveRows()) {
        const bool bad = std::find(broken.begin(), broken.end(), row.image) != broken.end();
        SCOPED_TRACE(row.offset);
        EXPECT_EQ(row.image->texture == 0, bad);
        EXPECT_EQ(row.image->pixels == nullptr, bad);
    }
    EXPECT_EQ(enemySprites[3].width, 65535u) << "the size is kept as read";
    EXPECT_NE(fontBase, 0u) << "the font is built even without its picture";
}

TEST_F(GfxImages, PictureWithoutAlphaInAnAlphaSlotFails)
{
    // A 24-bit logo, where the game uploads RGBA: uploading it would read past
    // its pixels, so it is refused; a 32-bit backdrop in an RGB slot loads.
    auto entries   = standardEntries();
    entries.back() = solidEntry(64, 64, 24, logoColour);
    entries[2]     = solidEntry(64, 64, 32, logoColour);
    writeArchive(buildArchive(entries));
    loadGraphicsFrom(dir.path());
    EXPECT_EQ(logo.texture, 0u);
    EXPECT_EQ(logo.pixels, nullptr);
    EXPECT_NE(backdrop.texture, 0u);
    EXPECT_NE(shipSheet.texture, 0u);
}

TEST_F(GfxImages, ArchiveCutInsideAnyEntryLoadsEverythingBeforeIt)
{
    const Bytes       full = buildArchive(standardEntries());
    const std::string path = dir.file("graphics.dat");
    writeArchive(full);
    const auto rows = archiveRows();
    // Cut from the end toward the start: inside the pixels, then inside the header.
    for (size_t k = rows.size(); k-- > 0;) {
        for (const int into : {18 + 1, 11}) {
            const off_t length = rows[k].offset + into;
            SCOPED_TRACE(testing::Message() << "entry " << k << " cut at " << length);
            ASSERT_EQ(truncate(path.c_str(), length), 0);
            loadGraphicsFrom(dir.path());
            for (size_t j = 0; j < rows.size(); ++j) {
                EXPECT_EQ(rows[j].image->texture != 0, j < k) << j;
                EXPECT_EQ(rows[j].image->pixels != nullptr, j < k) << j;
            }
        }
    }
}

TEST_F(GfxImages, LogoMayBeLargerAndTheArchiveLonger)
{
    auto entries   = standardEntries();
    entries.back() = solidEntry(64, 32, 32, logoColour);
    Bytes archive  = buildArchive(entries);
    archive.resize(archive.size() + 5000, 0xab);
    writeArchive(archive);
    loadGraphicsFrom(dir.path());
    EXPECT_NE(logo.texture, 0u);
    EXPECT_EQ(logo.width, 64u);
    EXPECT_EQ(logo.height, 32u);
}

TEST_F(GfxImages, OddWidthPictureIsUploadedAsTheUnpackAlignmentReadsIt)
{
    // 3 pixels of 3 bytes make 9-byte rows, which the upload (alignment 4)
    // reads 12 bytes apart: the pixel buffer holds those padded rows, zeros
    // behind the picture's own 45 bytes, so nothing beyond it is read.
    auto entries = standardEntries();
    entries[1]   = tgaEntry(3, 5, 24, [](int col, int row) {
        return Rgba{uint8_t(1 + col * 50 + row), 7, 9, 255};
    });
    writeArchive(buildArchive(entries));
    loadGraphicsFrom(dir.path());
    ASSERT_NE(introImage.texture, 0u);
    ASSERT_NE(introImage.pixels, nullptr);
    EXPECT_EQ(introImage.width, 3u);
    EXPECT_EQ(introImage.pixels[9], 2) << "the second row follows the first's 9 bytes";

    std::vector<uint8_t> texels(5 * 9, 0xee);
    glBindTexture(GL_TEXTURE_2D, introImage.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    for (int row = 0; row < 5; ++row)
        for (int i = 0; i < 9; ++i) {
            const size_t at = size_t(row) * 12 + i;
            EXPECT_EQ(texels[row * 9 + i], at < 45 ? introImage.pixels[at] : 0)
                << "texel row " << row << " byte " << i;
        }
}

TEST_F(GfxImages, LogoClaimingTheLargestSizeStaysEmptyInAnArchiveThatHoldsIt)
{
    // 65535 x 65535 at 32 bits: 16 GiB, all there in a sparse file. Only the
    // layout and the largest logo are read; the claim fails before any
    // allocation and every other picture loads.
    auto   entries = standardEntries();
    Bytes& last    = entries.back();
    last[12] = last[13] = 0xff;
    last[14] = last[15] = 0xff;
    writeArchive(buildArchive(entries));
    const off_t claimed =
        off_t(archiveLayout[logoEntry].offset) + 18 + off_t(65535) * 65535 * 4 + 26;
    ASSERT_EQ(truncate(dir.file("graphics.dat").c_str(), claimed), 0);
    loadGraphicsFrom(dir.path());
    EXPECT_EQ(logo.texture, 0u);
    EXPECT_EQ(logo.pixels, nullptr);
    EXPECT_EQ(logo.width, 65535u);
    for (const ArchiveRow& row : archiveRows())
        if (row.image != &logo) {
            EXPECT_NE(row.image->texture, 0u) << row.offset;
        }

    // The largest side the upload takes, and one more.
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    ASSERT_GE(side, 64);
    for (const int width : {side, side + 1}) {
        entries.back() = solidEntry(uint16_t(std::min(width, 65535)), 1, 32, logoColour);
        writeArchive(buildArchive(entries));
        loadGraphicsFrom(dir.path());
        EXPECT_EQ(logo.texture != 0, width <= side && width <= 65535) << width;
    }
}

TEST_F(GfxImages, ArchiveThatIsNoRegularFileLeavesEveryTextureEmpty)
{
    // A FIFO would block the game at start; a device would be read on and on.
    const std::string path = dir.file("graphics.dat");
    for (const char* kind : {"fifo", "zero", "urandom", "directory"}) {
        SCOPED_TRACE(kind);
        std::remove(path.c_str());
        rmdir(path.c_str());
        if (std::string(kind) == "fifo")
            ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
        else if (std::string(kind) == "directory")
            ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
        else
            ASSERT_EQ(symlink(kind[0] == 'z' ? "/dev/zero" : "/dev/urandom", path.c_str()), 0);
        loadGraphicsFrom(dir.path());
        for (const ArchiveRow& row : archiveRows())
            EXPECT_EQ(row.image->texture, 0u) << row.offset;
        EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "the drawing state is set all the same";
    }
    rmdir(path.c_str());
}

TEST_F(GfxImages, MissingArchiveLeavesEveryTextureEmpty)
{
    loadGraphicsFrom(dir.path());
    for (const ArchiveRow& row : archiveRows()) {
        EXPECT_EQ(row.image->texture, 0u);
        EXPECT_EQ(row.image->pixels, nullptr);
    }
    EXPECT_TRUE(glIsEnabled(GL_BLEND)) << "the drawing state is set all the same";
    EXPECT_TRUE(glIsList(fontBase));
}

} // namespace
