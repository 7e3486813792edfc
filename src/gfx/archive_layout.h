// The layout of graphics.dat: where each of its fifteen pictures starts and
// whether it is loaded with alpha. Plain data, read by the game, by the
// generator that writes the archive, by the fuzzer and by the tests.
#pragma once
#include <cstdint>

// One picture of the archive. Each takes its 18 header bytes, its pixel bytes
// and a 26-byte TGA footer that is never read.
struct ArchiveEntry {
    const char* name;   // the Image the game loads it into
    int32_t     offset; // bytes from the start of the archive
    bool        alpha;  // uploaded as RGBA, so it must have 32 bits per pixel (else 24)

    constexpr int bitsPerPixel() const { return alpha ? 32 : 24; }
};

// Room of one enemy sprite: a 64 x 64 picture of 32 bits with header and footer.
constexpr int32_t enemySpriteStride = 16428;

// The entries in loading order.
constexpr ArchiveEntry archiveLayout[] = {
    {"shipSheet", 0, true},
    {"introImage", 65580, false},
    {"backdrop", 262232, false},
    {"fontImage", 1835140, true},
    {"enemySprites[0]", 2097328 + enemySpriteStride * 0, true},
    {"enemySprites[1]", 2097328 + enemySpriteStride * 1, true},
    {"enemySprites[2]", 2097328 + enemySpriteStride * 2, true},
    {"enemySprites[3]", 2097328 + enemySpriteStride * 3, true},
    {"enemySprites[4]", 2097328 + enemySpriteStride * 4, true},
    {"enemySprites[5]", 2097328 + enemySpriteStride * 5, true},
    {"enemySprites[6]", 2097328 + enemySpriteStride * 6, true},
    {"enemySprites[7]", 2097328 + enemySpriteStride * 7, true},
    {"enemySprites[8]", 2097328 + enemySpriteStride * 8, true},
    {"explosionRing", 2097328 + enemySpriteStride * 9, true}, // where a tenth sprite would lie
    {"logo", 2261608, true},
};

// Indices into archiveLayout.
constexpr int shipSheetEntry     = 0;
constexpr int introImageEntry    = 1;
constexpr int backdropEntry      = 2;
constexpr int fontImageEntry     = 3;
constexpr int firstEnemyEntry    = 4; // enemySprites[k] is entry firstEnemyEntry + k
constexpr int explosionRingEntry = 13;
constexpr int logoEntry          = 14;
constexpr int archiveEntryCount  = 15;

static_assert(sizeof archiveLayout / sizeof archiveLayout[0] == archiveEntryCount,
              "one entry per picture");
