// Presenting from a thread of its own. The window gets a second OpenGL
// context that shares the game's picture; in its own thread it scales a copy
// of a finished picture into the window and swaps, while the game goes on
// with its next frames. On a software renderer the scale is most of a frame's
// work: here it is drawn in bands between the game's present and its next
// wake, in the time the game would wait anyway, and is not bound to fit one
// frame's slack. The game's own drawing and its order are untouched: it still
// draws every frame into its frame buffer in its one thread.
#pragma once
#include "gfx/gl.h"
#include "host/scaling.h"

struct PictureBuffer;
struct PresentWindow;

// What the thread did with the pictures handed to it since it was last asked.
struct ThreadPresented {
    int    pictures; // swapped since then
    int    rows;     // the last picture's rows, and what drawing them cost (ms)
    double rowsMs;
    double swapMadeMs; // when its swap was made and returned, on the frame clock
    double swapBackMs;
};

// Starts the thread with a second context of `window`, sharing the current
// context's objects, and two copies of the picture for it. False, and no
// thread, where the window has no second context or the thread cannot use it
// (an EGL surface is current in one thread only); the game then presents
// itself.
bool startPresentThread(const PresentWindow& window);
// Waits for a picture being drawn and ends the thread; the game's context
// stays current.
void stopPresentThread();
bool presentThreadRunning();

// What the thread did since the last call.
ThreadPresented presentThreadDone();
// Tells the thread when the game's frame ends, on the frame clock: the
// thread begins no band and no swap that would still run when the game wakes
// for its next frame, so that the game finds the cores free then.
void presentThreadFrame(double endMs);
// Hands the thread a copy of the finished `picture` to scale by `plan` into
// the window's width x height and swap, as soon as it is done with the one it
// is drawing. A picture handed over before and not yet begun is replaced.
void presentOnThread(const PictureBuffer& picture, const ScalePlan& plan, int width, int height);
