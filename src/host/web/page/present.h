// The page's picture: the game draws 640 x 480 into a frame buffer, and each
// shown animation frame scales it onto the whole canvas, black around, by
// the native rule (whole multiples where they keep most of the height, else
// the sharp fill).
#pragma once
#include <string>

// Makes the frame buffer and the scaling shader in the current context and
// binds the frame buffer for the game's drawing; false with a reason.
bool startPresenting(std::string* error);

// Draws the latest finished picture onto the canvas at its current size.
void presentPicture();
