// The pictures of graphics.dat as textures, and the fixed drawing state.
#pragma once
#include "gfx/archive_layout.h"

#include <cstdint>

struct Image {
    uint8_t* pixels;       // R, G, B (and A) bytes, bottom row first; null if the load failed
    uint32_t bitsPerPixel; // 24 or 32
    uint32_t width;        // pixels
    uint32_t height;       // pixels
    uint32_t texture;      // OpenGL texture name; 0 until created
};

// Texture s of the right edge of the ship's own picture in shipSheet.
constexpr double shipPictureRight = 0.21;

extern Image shipSheet;       // the ship and its four explosion pictures
extern Image introImage;      // the intro's banner
extern Image backdrop;        // title background and scrolling play field
extern Image fontImage;       // 16 x 16 glyph cells
extern Image enemySprites[9]; // the nine enemy designs
extern Image explosionRing;   // ring over a destroyed enemy
extern Image logo;            // title and status panel logo

// The Image that each entry of archiveLayout is loaded into, in the same order.
extern Image* const archiveImages[archiveEntryCount];

// Loads every picture of "graphics.dat" in the working directory, sets the fixed
// drawing state and builds the font. Needs the rendering context current.
void loadGraphics();

// Reads the picture at `offset` of the open archive into `image` and makes its
// texture. False (and no texture) when the picture cannot be read.
bool loadImage(Image& image, bool alpha, int32_t offset);
