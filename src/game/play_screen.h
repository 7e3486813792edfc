// The play screen, its status panel and the game-over timer.
#pragma once

void playFrame();
void drawStatusPanel();
void scrollBackdrop();
void gameOverTick();
