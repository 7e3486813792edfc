// STUB: replaced by the play screen.
#include "game/play_screen.h"
void playFrame() {}
void drawStatusPanel() {}
void scrollBackdrop() {}
void gameOverTick() {}
