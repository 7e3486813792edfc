// Presenting on OpenGL: the game draws a 640 x 480 picture into an off-screen
// frame buffer, and each swap draws it, scaled, into the window.
#include "host/present/present.h"

#include "gfx/gl.h"
#include "host/picture.h"
#include "host/present/gl_calls.h"
#include "host/present/present_thread.h"
#include "host/present/scaler.h"
#include "host/present_budget.h"
#include "system/frame_clock.h"

#include <chrono>

namespace {

using Ticks = std::chrono::steady_clock;

PresentWindow window      = {};
bool          presenting  = false;
bool          threadTried = false; // a present thread was started, or could not be
ScaleMode     scaleMode   = ScaleMode::Auto;
PictureBuffer picture     = {}; // framebuffer 0: the game draws into the window

// A picture presented in bands over several frames: a copy of the game's
// picture as it was finished, so that every band shows the same frame.
PictureBuffer shown = {};

double msSince(Ticks::time_point start)
{
    return std::chrono::duration<double, std::milli>(Ticks::now() - start).count();
}

// The picture's frame buffer, bound for the game's drawing. Kept only once
// complete, so that a failed attempt leaves the window drawn into directly
// rather than from a broken buffer.
bool createFramebuffer(std::string* error)
{
    if (!lookUpGlCalls(window.procAddress)) {
        *error = "OpenGL frame buffer objects are not available";
        return false;
    }
    if (!createPictureBuffer(&picture, true)) {
        *error = "cannot create the 640 x 480 frame buffer";
        return false;
    }
    startScaler();
    gl.bindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
    return true;
}

// Whether the game may draw into the window itself: it is the picture's
// size and has the depth buffer that the game's drawing needs.
bool gameDrawsIntoWindow()
{
    int w = 0, h = 0;
    window.drawableSize(&w, &h);
    return w == pictureWidth && h == pictureHeight && window.depthBits() > 0;
}

// Swaps, and notes when the swap was made and when it returned.
void swapWindow()
{
    const double made = readFrameClock();
    window.swap();
    ++picturesShown;
    noteSwap(&presentBudget, made, readFrameClock());
}

// Where pictures turn out costly (a software renderer) and the window has a
// second context, a thread of its own presents them from then on, with the
// scaler in its context: the game's thread then only copies each picture.
// A graphics card keeps presenting in the game's frame.
void startThreadWhereCostly(int pictureRows)
{
    if (threadTried || presentBudget.bands.active || presentBudget.row.rate == 0.0 ||
        presentBudget.swap.rate == 0.0 || !picturesCostly(presentBudget, pictureRows))
        return;
    threadTried = true;
    stopScaler();
    if (!startPresentThread(window))
        startScaler();
}

// Hands the present thread a copy of the finished picture when one is due,
// and folds what it measured into the budget.
void presentFromThread(const ScalePlan& plan, int w, int h, double frameMs, double endMs)
{
    decayCosts(&presentBudget, frameMs);
    noteFrame(&presentBudget, endMs - frameMs, frameMs);
    const ThreadPresented done = presentThreadDone();
    if (done.pictures > 0) {
        picturesShown += done.pictures;
        measureRows(&presentBudget, done.rows, done.rowsMs);
        noteSwap(&presentBudget, done.swapMadeMs, done.swapBackMs);
    }
    if (mayBeginPicture(presentBudget, plan.picture.height)) {
        pictureBegun(&presentBudget);
        presentOnThread(picture, plan, w, h);
    }
    // Told last: the thread draws once the game's present is done.
    presentThreadFrame(endMs);
}

} // namespace

long          picturesShown = 0;
PresentBudget presentBudget = {};

bool startPresenting(const PresentWindow& target, ScaleMode scale, std::string* error)
{
    window      = target;
    presenting  = true;
    threadTried = false;
    scaleMode   = scale;
    // Swaps must not wait for the display: frames would be lost waiting. A
    // driver or a compositor may keep them waiting all the same, refused or
    // not; the swaps' times tell (host/present_budget.h).
    const bool   refused  = !window.swapWithoutWaiting();
    const double hz       = window.refreshRate();
    presentBudget         = PresentBudget{};
    presentBudget.refresh = RefreshGrid{hz, refused, 0.0, 0};
    // A window of exactly 640 x 480 is drawn into directly; any other size
    // gets the 640 x 480 frame buffer, scaled into it when presenting (every
    // picture clears its bars, so nothing is cleared beforehand).
    return gameDrawsIntoWindow() || createFramebuffer(error);
}

void stopPresenting()
{
    if (picture.framebuffer) {
        stopPresentThread();
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        stopScaler();
        deletePictureBuffer(&picture);
        deletePictureBuffer(&shown);
    }
    presentBudget = PresentBudget{};
    presenting    = false;
}

void presentDisplay()
{
    if (!presenting)
        return;
    const double frameMs = 2.0 * pacingSteps[pacingStepIndex];
    const double endMs   = static_cast<double>(frameStart) + frameMs;
    if (!picture.framebuffer) {
        // Where swaps wait for the display, only in a frame whose spare time
        // the wait fits in; the game draws the whole picture every frame.
        if (swapsWaitForRefresh(presentBudget) &&
            !planFramePresent(&presentBudget, frameMs, readFrameClock(), endMs, 0, 0, 0).swap)
            return;
        swapWindow();
        // A window manager may resize the window after it is shown: from then
        // on the picture goes through the frame buffer.
        std::string error;
        if (!gameDrawsIntoWindow())
            createFramebuffer(&error);
        return;
    }
    int w = 0, h = 0;
    window.drawableSize(&w, &h);
    const ScalePlan plan = planScaling(w, h, scaleMode);
    // The game's own drawing is finished first, so that the time left is
    // known and what a band is measured to cost is the band's alone.
    glFinish();
    startThreadWhereCostly(plan.picture.height);
    if (presentThreadRunning()) {
        presentFromThread(plan, w, h, frameMs, endMs);
        gl.bindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
        return;
    }
    const FramePresent step = planFramePresent(&presentBudget, frameMs, readFrameClock(), endMs, w,
                                               h, plan.picture.height);
    if (step.keep) {
        if (!shown.framebuffer && !createPictureBuffer(&shown, false)) {
            gl.bindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
            // No copy to be had: present whole, from nothing measured.
            const RefreshGrid refresh = presentBudget.refresh;
            presentBudget             = PresentBudget{};
            presentBudget.refresh     = refresh;
            return;
        }
        copyPicture(picture, shown);
    }
    if (step.rows > 0) {
        const Ticks::time_point start = Ticks::now();
        gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        scalePicture(step.fromCopy ? shown : picture, plan, w, h, SharpMethod::OnePass,
                     step.firstRow, step.rows);
        // Finished here, so that the band's cost is known before the frame
        // ends (a software renderer would otherwise draw it in the swap).
        glFinish();
        measureRows(&presentBudget, step.rows, msSince(start));
    }
    if (step.swap)
        swapWindow();
    gl.bindFramebuffer(GL_FRAMEBUFFER, picture.framebuffer);
}
