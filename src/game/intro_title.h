// The intro and the title screen.
#pragma once

void                     introFrame(); // draws, swaps the buffers and steps the intro
void                     titleFrame(); // draws the title and moves the credits line; no swap
extern const char* const creditsText;
