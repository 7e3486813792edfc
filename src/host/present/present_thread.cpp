// The present thread: two copies of the picture, one being drawn and one
// waiting, handed over under a lock.
#include "host/present/present_thread.h"

#include "host/picture.h"
#include "host/present/gl_calls.h"
#include "host/present/present.h"
#include "host/present/scaler.h"
#include "host/present_budget.h"
#include "system/clock_source.h"
#include "system/frame_clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using Ticks = std::chrono::steady_clock;

PresentWindow window  = {};
void*         context = nullptr; // the thread's, sharing the game's objects
std::thread   thread;
bool          running = false;

// The copies, made in the game's context: their textures are shared, their
// frame buffers (which the game copies into) are the game's.
PictureBuffer copies[2] = {};

// Shared with the thread, under `lock`.
std::mutex              lock;
std::condition_variable wake;
bool                    started  = false; // the thread has tried its context
bool                    usable   = false; // and can present with it
bool                    quitting = false;
int                     drawing  = -1; // the copy the thread is drawing from; -1: none
int                     waiting  = -1; // the copy handed over and not yet taken; -1: none
ScalePlan               plan     = {}; // how the waiting copy is to be scaled
int                     width = 0, height = 0;
ThreadPresented         done = {};

// The thread's own.
double rowMs  = 0.0; // what a row of the last picture cost
double swapMs = 0.0; // and its swap

// When the game's frame, whose present has been made, ends, on the frame
// clock (under `lock`): the game wakes for its next frame a wake margin
// before, and presents again after its next frame's work.
double gameFrameEnd = 0.0;

// Waits until a step of `stepMs` fits between the game's present and its next
// wake, so that the game has the cores to itself from its wake to its
// present. A step that has found no room for presentMaxWait frames goes
// ahead; a game that presents no frame for long (stopped, or stalled) is not
// waited for.
double waitForRoom(double stepMs)
{
    std::unique_lock<std::mutex> held(lock);
    double                       seen   = gameFrameEnd;
    int                          frames = 0;
    for (;;) {
        const double now = readFrameClock();
        const double end = gameFrameEnd;
        if (end != seen) {
            seen = end;
            ++frames;
        }
        if (quitting || frames >= presentMaxWait)
            return HUGE_VAL;
        if (threadStepFits(now, stepMs, end, clockSource.wakeMarginMs))
            return end - clockSource.wakeMarginMs - presentThreadGuardMs - now;
        const double waitMs = now < end ? end - now : presentThreadLongestWaitMs;
        if (wake.wait_for(held, std::chrono::duration<double, std::milli>(waitMs)) ==
                std::cv_status::timeout &&
            now >= end && gameFrameEnd == end)
            return HUGE_VAL;
    }
}

void present(const PictureBuffer& view, const ScalePlan& job, int w, int h)
{
    // Attached again: a texture changed in another context is certain to be
    // seen only once it is bound anew.
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, view.framebuffer);
    gl.framebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, view.texture,
                            0);
    const int rows   = job.picture.height;
    double    rowsMs = 0.0; // drawing only, not the waits between bands
    for (int first = 0; first < rows;) {
        // A band fills what is left of the room, down to the fewest rows. The
        // first band of a new context sets up its shader (a second on
        // llvmpipe): a band is never expected to take longer than planned.
        const double            minMs = rowMs * std::min(presentMinRows, rows - first);
        const double            room  = waitForRoom(std::min(minMs, presentThreadBandMs));
        const int               band  = threadBandRows(rowMs, rows - first, room);
        const Ticks::time_point start = Ticks::now();
        scalePicture(view, job, w, h, SharpMethod::OnePass, first, band);
        glFinish();
        rowsMs += std::chrono::duration<double, std::milli>(Ticks::now() - start).count();
        first += band;
        rowMs = rowsMs / first;
    }
    // The swap hands the picture to the display server, which copies it on
    // a core of its own: kept out of the game's wake as well. A swap that
    // waited for the display took no core meanwhile: it counts as the
    // longest that did not.
    waitForRoom(std::min(swapMs, presentSwapWaitedMs));
    const double made = readFrameClock();
    window.swap();
    const double back = readFrameClock();
    swapMs            = back - made;
    std::lock_guard<std::mutex> hold(lock);
    ++done.pictures;
    done.rows       = rows;
    done.rowsMs     = rowsMs;
    done.swapMadeMs = made;
    done.swapBackMs = back;
}

// Makes the thread's context, sharing the game's. The thread keeps the
// game's priority: at a lower one, a machine busy elsewhere would starve it
// of pictures (22 in 7 s at 1920 x 1080 with both cores loaded, against 189).
// It keeps out of the game's way by drawing only while the game waits.
bool makeContext(void* game)
{
    if (!window.useContext(game))
        return false;
    context = window.sharedContext();
    return context != nullptr;
}

// The thread's own frame buffers over the shared copies: frame buffers are
// not shared between contexts, textures are.
bool viewCopies(PictureBuffer views[2])
{
    bool complete = true;
    for (int i = 0; i < 2; ++i) {
        views[i].texture = copies[i].texture;
        gl.genFramebuffers(1, &views[i].framebuffer);
        gl.bindFramebuffer(GL_READ_FRAMEBUFFER, views[i].framebuffer);
        gl.framebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                                views[i].texture, 0);
        complete =
            complete && gl.checkFramebufferStatus(GL_READ_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    }
    return complete;
}

void run(void* game)
{
    PictureBuffer views[2] = {};
    bool          ok       = makeContext(game);
    if (ok) {
        ok = viewCopies(views);
        window.swapWithoutWaiting();
        startScaler();
    }
    {
        std::lock_guard<std::mutex> hold(lock);
        started = true;
        usable  = ok;
    }
    wake.notify_all();
    for (std::unique_lock<std::mutex> held(lock); ok;) {
        wake.wait(held, [] { return waiting >= 0 || quitting; });
        if (quitting)
            break;
        drawing             = waiting;
        waiting             = -1;
        const ScalePlan job = plan;
        const int       w = width, h = height;
        held.unlock();
        present(views[drawing], job, w, h);
        held.lock();
        drawing = -1;
    }
    if (context) {
        stopScaler();
        for (PictureBuffer& view : views)
            if (view.framebuffer)
                gl.deleteFramebuffers(1, &view.framebuffer);
    }
    window.useContext(nullptr);
}

void endThread()
{
    {
        std::lock_guard<std::mutex> hold(lock);
        quitting = true;
    }
    wake.notify_all();
    thread.join();
    if (context)
        window.deleteContext(context);
    context = nullptr;
}

void deleteCopies()
{
    for (PictureBuffer& copy : copies)
        deletePictureBuffer(&copy);
}

} // namespace

bool startPresentThread(const PresentWindow& target)
{
    if (running || !target.currentContext || !target.useContext || !target.sharedContext ||
        !target.deleteContext)
        return false;
    window = target;
    if (!createPictureBuffer(&copies[0], false) || !createPictureBuffer(&copies[1], false)) {
        deleteCopies();
        return false;
    }
    // The copies are complete before the other context looks at them; and
    // the game's context is let go for the thread to share it.
    glFinish();
    void* game = window.currentContext();
    window.useContext(nullptr);
    started = usable = quitting = false;
    drawing = waiting = -1;
    done              = ThreadPresented{};
    thread            = std::thread(run, game);
    {
        std::unique_lock<std::mutex> held(lock);
        wake.wait(held, [] { return started; });
    }
    // Where a window's surface is current in one thread at a time (EGL), the
    // game's context cannot have it back while the thread holds it.
    if (usable && window.useContext(game)) {
        running = true;
        return true;
    }
    endThread();
    window.useContext(game);
    deleteCopies();
    return false;
}

void stopPresentThread()
{
    if (!running)
        return;
    endThread();
    deleteCopies();
    running = false;
}

bool presentThreadRunning() { return running; }

ThreadPresented presentThreadDone()
{
    std::lock_guard<std::mutex> hold(lock);
    const ThreadPresented       out = done;
    done.pictures                   = 0;
    return out;
}

void presentThreadFrame(double endMs)
{
    {
        std::lock_guard<std::mutex> hold(lock);
        gameFrameEnd = endMs;
    }
    wake.notify_all();
}

void presentOnThread(const PictureBuffer& picture, const ScalePlan& job, int w, int h)
{
    int into = 0;
    {
        // A copy still waiting is taken back and replaced by this newer
        // picture; else the one the thread is not drawing from.
        std::lock_guard<std::mutex> hold(lock);
        into    = waiting >= 0 ? waiting : (drawing == 0 ? 1 : 0);
        waiting = -1;
    }
    copyPicture(picture, copies[into]);
    // The copy whole before the other context reads it.
    glFinish();
    {
        std::lock_guard<std::mutex> hold(lock);
        waiting = into;
        plan    = job;
        width   = w;
        height  = h;
    }
    wake.notify_all();
}
