// STUB: replaced by the archive reader.
#include "gfx/images.h"
#include "gfx/font.h"
Image shipSheet, introImage, backdrop, fontImage, enemySprites[9], explosionRing, logo;
void loadGraphics() { buildFont(); }
bool loadImage(Image&, bool, int32_t) { return false; }
