// One frame of the game and its input step.
#pragma once

void runFrame();
void handleInput();
