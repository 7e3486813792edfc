// The game's OpenGL 1.1 and GLU calls in the browser: our own small layer
// over WebGL 2 with exactly the subset the game and the replay tool use.
// Vertices are transformed here and drawn in as few batches as the state
// allows; display lists record the calls the font makes.
#pragma once

// Sets up the layer's shader and buffer in the current WebGL context; false
// when they cannot be made.
bool startLegacyGl();

// Draws every vertex still waiting in the batch.
void flushLegacyGl();

// Puts back the WebGL state the layer relies on (its program, buffer,
// attributes, texture, viewport, scissor and blending) after a host drew with
// WebGL directly.
void restoreLegacyGl();
