// Swarm! in the browser: the page's entry point and its loop. The game runs on
// the headless host's clock, 10 ms per frame, so that the same keys at the
// same frames play the same game as swarm-replay; each animation frame runs
// as many frames as the real time since the start calls for, at most 4 at
// once (host/frame_steps.h: a tab back from hiding, or a device too slow for
// full speed, plays on slower rather than in bursts), and shows the last.
// While the browser has taken the WebGL context away, no frames run; when it
// gives it back, the picture is made anew and the game goes on. Keys, pads
// and touches reach it from the page (shell/page.js) as events, one applied
// per frame, as the native loop takes one per pass.
#include "game/frame.h"
#include "game/game_data.h"
#include "game/high_score.h"
#include "game/random.h"
#include "gfx/images.h"
#include "host/frame_steps.h"
#include "host/headless/headless_host.h"
#include "host/view.h"
#include "host/web/page/input_tables.h"
#include "host/web/page/present.h"
#include "host/web/page/web_audio.h"
#include "host/web/webgl_context.h"
#include "sound/sound.h"
#include "storage/high_score_file.h"
#include "system/input.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <unistd.h>

#include <cstring>
#include <ctime>
#include <deque>
#include <string>

// clang-format off
EM_JS(void, pageShowMessage, (const char* text), { swarmPage.showMessage(UTF8ToString(text)); });
EM_JS(void, pageGameQuit, (), { swarmPage.gameQuit(); });
EM_JS(void, pageFramesShown, (int frames), { swarmPage.framesShown(frames); });
// clang-format on

namespace {

const char* dataDirectory = "/swarm";

// An input event, or every held key going up when the page lost the focus.
struct PageEvent {
    bool       releaseAll;
    InputEvent event;
};

std::deque<PageEvent> queue;
FrameStepper          stepper = {};
uint64_t              frame   = 0;     // frames run since the page started
bool                  stopped = false; // the game quit
bool                  lost    = false; // the browser took the WebGL context away
bool                  looping = false; // the animation frame loop runs

unsigned char storedCopy[maxHighScoreFileBytes]; // a copy of HighScore.dat from the page

void applyOne()
{
    if (queue.empty())
        return;
    const PageEvent next = queue.front();
    queue.pop_front();
    if (next.releaseAll) {
        for (int key = 0; key < 256; ++key)
            if (keys[key])
                applyInputEvent({InputEventType::KeyUp, key});
    } else {
        applyInputEvent(next.event);
    }
}

EM_BOOL animationFrame(double nowMs, void*)
{
    if (stopped || lost) {
        looping = false;
        return EM_FALSE;
    }
    const int due = framesDue(&stepper, nowMs);
    int       ran = 0;
    for (; ran < due && !quitRequested; ++ran) {
        headlessHost.pass = frame;
        applyOne();
        runFrame();
        ++frame;
    }
    if (ran > 0) {
        presentPicture();
        pageFramesShown(ran);
    }
    if (quitRequested) {
        stopSound();
        stopped = true;
        looping = false;
        pageGameQuit();
        return EM_FALSE;
    }
    return EM_TRUE;
}

// Starts the loop anew (its first animation frame runs one frame), unless
// it runs already or the context is away.
void startLoop()
{
    stopped = false;
    stepper = FrameStepper{};
    if (looping || lost)
        return;
    looping = true;
    emscripten_request_animation_frame_loop(animationFrame, nullptr);
}

void contextLost() { lost = true; }

// The OpenGL layer has its textures again; the page's picture buffer and
// shader are made anew, and the game goes on where it was.
void contextRestored()
{
    std::string error;
    if (!startPresenting(&error)) {
        pageShowMessage(("Swarm! cannot draw any more: " + error + ".").c_str());
        return;
    }
    lost = false;
    if (!stopped)
        startLoop();
}

} // namespace

extern "C" {

// A key or pad button: down 1 or 0, its virtual-key code.
EMSCRIPTEN_KEEPALIVE void pageKey(int down, int key)
{
    if (key < 0 || key > 255)
        return;
    queue.push_back({false, {down ? InputEventType::KeyDown : InputEventType::KeyUp, key}});
}

// The page lost the focus: key-ups sent meanwhile never reach it.
EMSCRIPTEN_KEEPALIVE void pageFocusLost() { queue.push_back({true, {InputEventType::KeyUp, 0}}); }

// The page is being left: the high score is saved as when quitting from the
// title, without taking a draw from the game's random numbers, so that a
// game left and taken up again plays on as it would have.
EMSCRIPTEN_KEEPALIVE void pageSaveHighScore()
{
    if (gameState == Loading)
        return; // nothing loaded yet, nothing to keep
    const uint32_t state = randomState();
    saveHighScore();
    seedRandom(state);
}

// The best score as the game holds it (the page's tests read it).
EMSCRIPTEN_KEEPALIVE int pageHighScore() { return highScore; }

// 1 while the game holds the key with that virtual-key code down (for the tests).
EMSCRIPTEN_KEEPALIVE int pageKeyDown(int key) { return key >= 0 && key < 256 ? keys[key] : 0; }

// A copy of HighScore.dat kept by the page, checked here as the game reads
// its file, so that the page keeps the higher score: the page puts the copy's
// first bytes (all that the game reads) into pageCopyBuffer.
EMSCRIPTEN_KEEPALIVE unsigned char* pageCopyBuffer() { return storedCopy; }
EMSCRIPTEN_KEEPALIVE int            pageCopyRoom() { return sizeof storedCopy; }

// The high score that the copy of `size` bytes holds, or -1 when it holds none.
EMSCRIPTEN_KEEPALIVE int pageScoreOf(int size)
{
    return size < 0 ? noHighScore : highScoreOfBytes(storedCopy, static_cast<size_t>(size));
}

// A new run after the game quit from the title, as if the program started again.
EMSCRIPTEN_KEEPALIVE void pageRestart()
{
    if (!stopped)
        return;
    restoreGameData();
    std::memset(keys, 0, sizeof keys);
    quitRequested = false;
    queue.clear();
    startLoop();
}

} // extern "C"

int main()
{
    // The headless host's clock; the game's swap stays the services' default,
    // which does nothing: the picture is shown once per animation frame.
    installVirtualClock(static_cast<uint32_t>(std::time(nullptr)));
    soundBackend = &webAudioBackend;
    handInputTablesToPage();
    if (chdir(dataDirectory) != 0) {
        pageShowMessage("The game's data did not load. Reload the page to try again.");
        return 0;
    }
    std::string error;
    if (!openWebglCanvas("#canvas", 0, 0, &error) || !startPresenting(&error)) {
        pageShowMessage(("Swarm! cannot run here: " + error + ".").c_str());
        return 0;
    }
    setPerspectiveView();
    loadGraphics();
    watchWebglContext(contextLost, contextRestored);
    startLoop();
    return 0;
}
