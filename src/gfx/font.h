// The bitmap font: 256 display lists over fontImage, and text drawing.
#pragma once
#include <cstdint>

extern uint32_t fontBase; // first of the font's 256 display lists

void buildFont();
void releaseFont();

// Draws a printf-formatted text with its first glyph's bottom left at (x, y),
// 16 x 16 glyphs 20 apart, or 8 x 8 and 10 apart in half size, in the current
// colour. Ignores the current model-view transformation.
void drawText(int32_t x, int32_t y, bool halfSize, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
