// The generator's pictures: one drawing function per picture of the game.
#pragma once
#include "canvas.h"

// Picture sizes of the graphics archive.
Canvas drawShipSheet();      // 256 x 64: the ship, then explosion pictures 1 to 4
Canvas drawIntroImage();     // 512 x 128, opaque
Canvas drawBackdrop();       // 512 x 1024, opaque, tiles in both directions
Canvas drawFontImage();      // 256 x 256: glyph cells of 16 x 16
Canvas drawEnemy(int index); // 64 x 64, index 0 to 8
Canvas drawExplosionRing();  // 64 x 64
Canvas drawLogo();           // 512 x 256

// The player's ship in a 64 x 64 design square, nose up, mapped through `view`.
void drawShip(Canvas& cv, const View& view);
// A size x size application icon, the logo's "S!"; `dark` puts it on a dark rounded tile.
Canvas drawIcon(int size, bool dark);

// True when the font has ink at design column 0 to 6 and design row 0 to 6 of `code`.
bool glyphInk(int code, int designColumn, int designRow);

// Fire colour ramp: 0 dark red through orange and yellow to 1 white.
Rgba fireColour(float heat);
