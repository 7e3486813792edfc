// STUB: replaced by the font.
#include "gfx/font.h"
uint32_t fontBase = 0;
void buildFont() {}
void releaseFont() {}
void drawText(int32_t, int32_t, bool, const char*, ...) {}
