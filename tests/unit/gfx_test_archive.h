// Test helpers for the graphics tests: hand-made TGA entries and archives with
// the game's layout, loaded from a directory of their own, and texts read back.
#pragma once
#include "gfx/images.h"
#include "process.h"
#include "screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gfxtest {

// One archive entry: the 18-byte header, the pixels (stored B, G, R, A, bottom
// row first; `pixel(column, rowFromBottom)`) and the 26-byte footer.
inline Bytes tgaEntry(uint16_t width, uint16_t height, uint8_t depth,
                      const std::function<Rgba(int, int)>& pixel)
{
    Bytes out = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    out.push_back(width & 0xff);
    out.push_back(width >> 8);
    out.push_back(height & 0xff);
    out.push_back(height >> 8);
    out.push_back(depth);
    out.push_back(depth == 32 ? 8 : 0);
    for (int row = 0; row < height; ++row)
        for (int col = 0; col < width; ++col) {
            const Rgba p = pixel(col, row);
            out.push_back(p.b);
            out.push_back(p.g);
            out.push_back(p.r);
            if (depth == 32)
                out.push_back(p.a);
        }
    out.insert(out.end(), 26, 0);
    return out;
}

inline Bytes solidEntry(uint16_t width, uint16_t height, uint8_t depth, Rgba colour)
{
    return tgaEntry(width, height, depth, [colour](int, int) { return colour; });
}

// The fifteen rows of the archive, in loading order: the layout's entry and
// the Image it is loaded into.
struct ArchiveRow {
    Image*  image;
    int32_t offset;
    bool    alpha;
};

inline std::vector<ArchiveRow> archiveRows()
{
    std::vector<ArchiveRow> rows;
    for (int k = 0; k < archiveEntryCount; ++k)
        rows.push_back({archiveImages[k], archiveLayout[k].offset, archiveLayout[k].alpha});
    return rows;
}

// Colours of the hand-made pictures.
constexpr Rgba introColour   = {200, 120, 40, 255};
constexpr Rgba backdropLower = {255, 0, 255, 255}; // the part the title must not show
constexpr Rgba backdropUpper = {60, 90, 30, 255};  // the upper 34 percent
constexpr Rgba logoColour    = {30, 140, 250, 255};

// Font cell i is filled with (i, 255 - i, 128), fully opaque, so every glyph
// square on screen tells which cell it shows.
inline Rgba fontCellColour(int cell) { return {uint8_t(cell), uint8_t(255 - cell), 128, 255}; }

inline Bytes codedFontEntry()
{
    return tgaEntry(256, 256, 32, [](int col, int rowFromBottom) {
        const int rowFromTop = 255 - rowFromBottom;
        return fontCellColour((rowFromTop / 16) * 16 + col / 16);
    });
}

// A complete archive of small pictures at the game's offsets: row k of
// archiveRows() gets entries[k]; an empty entry leaves zeros there.
inline Bytes buildArchive(const std::vector<Bytes>& entries)
{
    const auto rows = archiveRows();
    Bytes      out;
    for (size_t k = 0; k < rows.size() && k < entries.size(); ++k) {
        const size_t at = size_t(rows[k].offset);
        if (out.size() < at)
            out.resize(at, 0);
        if (out.size() < at + entries[k].size())
            out.resize(at + entries[k].size(), 0);
        std::copy(entries[k].begin(), entries[k].end(), out.begin() + at);
    }
    return out;
}

// The standard hand-made archive: every picture readable and recognisable.
inline std::vector<Bytes> standardEntries()
{
    std::vector<Bytes> entries;
    entries.push_back(solidEntry(8, 8, 32, {250, 250, 250, 255})); // shipSheet
    entries.push_back(solidEntry(4, 4, 24, introColour));          // introImage
    entries.push_back(tgaEntry(4, 100, 24, [](int, int row) {      // backdrop
        return row < 66 ? backdropLower : backdropUpper;
    }));
    entries.push_back(codedFontEntry()); // fontImage
    for (int k = 0; k < 9; ++k)          // enemySprites
        entries.push_back(solidEntry(4, 4, 32, {uint8_t(10 + k), 20, 30, 255}));
    entries.push_back(solidEntry(4, 4, 32, {255, 255, 0, 255})); // explosionRing
    entries.push_back(solidEntry(4, 4, 32, logoColour));         // logo
    return entries;
}

// Loads the hand-made pictures of this file from a directory of their own,
// so every pixel of a screen has a known colour; the directory is returned.
inline std::unique_ptr<TempDir> loadHandMadeGraphics()
{
    auto dir = std::make_unique<TempDir>();
    writeBytes(dir->file("graphics.dat"), buildArchive(standardEntries()));
    loadGraphicsFrom(dir->path());
    return dir;
}

// Reads back a text drawn with the coded font: the centre of each glyph square
// names its cell in one colour channel (0 red: cell; 1 green: 255 - cell).
inline std::string decodeText(const Screen& screen, int x, int y, bool half, int length,
                              int channel)
{
    const int   step = half ? 10 : 20, size = half ? 8 : 16;
    std::string text;
    for (int k = 0; k < length; ++k) {
        const int cx = x + k * step + size / 2, cy = y + size / 2;
        if (cx < 0 || cx >= 640)
            break;
        const Rgba p    = screen.at(cx, cy);
        const int  cell = channel == 0 ? p.r : 255 - p.g;
        text.push_back(char(32 + cell));
    }
    return text;
}

} // namespace gfxtest
