// Presenting the game's picture in a window, for every desktop host: the 640 x 480 frame buffer the
// game draws into, and its copy scaled as the scaling plan says (whole-number
// steps, or a sharp-bilinear 4:3 fill), with black bars around.
#pragma once
#include "host/present_budget.h"
#include "host/scaling.h"

#include <string>

// What presenting asks of the window it presents in, from each host's
// platform. The window is the one whose OpenGL context is current.
struct PresentWindow {
    void (*drawableSize)(int* w, int* h); // in pixels
    int (*depthBits)();                   // of the window's own depth buffer
    void (*swap)();
    bool (*swapWithoutWaiting)(); // asks swaps not to wait for the display; false: refused
    double (*refreshRate)();      // of the display the window is on, in Hz; 0: not known
    void* (*procAddress)(const char* name); // an OpenGL entry point; null when missing
    // For presenting from a thread of its own; null where the host has none
    // (then the game's thread presents). The context current in the calling
    // thread; making one current there, on the window (null: none), false
    // when it cannot; a second context of the window sharing the current
    // one's objects, made current instead (null when it cannot be had);
    // and deleting one.
    void* (*currentContext)();
    bool (*useContext)(void* context);
    void* (*sharedContext)();
    void (*deleteContext)(void* context);
};

// Presents into `window`, whose OpenGL context is current. A drawable of
// exactly 640 x 480 is drawn into directly; any other size gets the frame
// buffer, bound for the game's drawing, with the bars starting black. False
// with a one-line reason when the frame buffer cannot be had.
bool startPresenting(const PresentWindow& window, ScaleMode scale, std::string* error);

// Frees the frame buffers; the context is still current.
void stopPresenting();

// Shows the finished 640 x 480 picture (scaled, black bars) and swaps. Where
// that would make the frame late, the picture is drawn in bands over the next
// frames and swapped once whole (host/present_budget.h), and the pictures the
// game finishes meanwhile are not shown. Where swaps wait for the display's
// refresh, a picture is swapped only when that wait ends within the frame.
// Where pictures are measured costly and the window has a second context, a
// present thread scales and swaps a copy of each picture shown from then on
// (host/present/present_thread.h). The time left is read on the frame clock,
// from frameStart.
void presentDisplay();

// Pictures swapped onto the screen so far.
extern long picturesShown;
// What presenting has measured and how far a picture in bands has got; a new
// window starts it afresh.
extern PresentBudget presentBudget;
