// Swarm! in the browser: the page's entry point and its loop. The game runs on
// the headless host's clock, 10 ms per frame, so that the same keys at the
// same frames play the same game as swarm-replay; each animation frame runs
// as many frames as the real time since the start calls for, at most 4 at
// once (host/frame_steps.h: a tab back from hiding, or a device too slow for
// full speed, plays on slower rather than in bursts), and shows the last.
// While the browser has taken the WebGL context away, no frames run; when it
// gives it back, the picture is made anew and the game goes on. Keys, pads
// and touches reach it from the page (shell/page.js) as events, one applied
// per frame, as the native loop takes one per pass. The player's run is
// recorded from its first frame, and a recorded run can be watched instead
// (host/web/page/runs.h), its events fed at their frames.
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
#include "host/web/page/runs.h"
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
EM_JS(void, pageGameStarted, (), { swarmPage.gameStarted(); });
EM_JS(void, pageGameEnded, (), { swarmPage.gameEnded(); });
EM_JS(void, pageWatchRefused, (const char* why), { swarmPage.watchRefused(UTF8ToString(why)); });
EM_JS(void, pageWatchEnded, (), { swarmPage.watchEnded(); });
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
bool                  drawing = false; // the canvas's context is made: pictures can be shown
bool                  inGame  = false; // the player's game is in play, as the page was told

// A watched run skips through the intro and the title this many times as
// fast as real time, and plays its games at real speed.
constexpr int titleSpeedUp = 8;

// What main does first: the player's run, a recorded one, or nothing (the
// page offers to play).
enum class Start { Play, Watch, Hold } start = Start::Play;
const char* const watchedFile                = "/watched.keys";

unsigned char storedCopy[maxHighScoreFileBytes]; // a copy of HighScore.dat from the page

void applyOne()
{
    if (queue.empty())
        return;
    const PageEvent next = queue.front();
    queue.pop_front();
    if (next.releaseAll) {
        recordFocusLoss(&playerRecording, frame);
        for (int key = 0; key < 256; ++key)
            if (keys[key])
                applyInputEvent({InputEventType::KeyUp, key});
    } else {
        recordKey(&playerRecording, frame, next.event.type == InputEventType::KeyDown,
                  next.event.key);
        applyInputEvent(next.event);
    }
}

bool inPlay() { return gameState == WaveStart || gameState == Playing; }

// Tells the page when the player's game begins and ends (game over, or back
// to the title), so that its buttons keep out of the way while it plays.
void noteGame()
{
    if (runKind != RunKind::Player || inPlay() == inGame)
        return;
    inGame = inPlay();
    if (inGame)
        pageGameStarted();
    else
        pageGameEnded();
}

EM_BOOL animationFrame(double nowMs, void*)
{
    if (stopped || lost) {
        looping = false;
        return EM_FALSE;
    }
    const bool watching = runKind == RunKind::Watched;
    const int  due      = framesDue(&stepper, nowMs) * (watching && !inPlay() ? titleSpeedUp : 1);
    int        ran      = 0;
    for (; ran < due && !quitRequested; ++ran) {
        headlessHost.pass = frame;
        if (watching)
            applyWatchedEvent(frame);
        else
            applyOne();
        runFrame();
        ++frame;
    }
    if (ran > 0) {
        presentPicture();
        pageFramesShown(ran);
    }
    noteGame();
    if (quitRequested) {
        stopSound();
        stopped = true;
        looping = false;
        if (watching)
            pageWatchEnded();
        else
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

// Stops whatever runs, for another run to begin.
void stopRun()
{
    stopSound();
    stopped = true;
    inGame  = false;
    queue.clear();
}

void beginPlaying()
{
    stopRun();
    beginPlayerRun();
    frame = 0;
    startLoop();
}

// Watches the recording the page put in watchedFile. The run that was
// playing stops either way: when the recording is refused, the page offers
// to play.
bool beginWatching()
{
    stopRun();
    std::string why;
    if (!beginWatchedRun(watchedFile, &why)) {
        pageWatchRefused(why.c_str());
        return false;
    }
    frame = 0;
    startLoop();
    return true;
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
    if (key < 0 || key > 255 || runKind != RunKind::Player)
        return;
    queue.push_back({false, {down ? InputEventType::KeyDown : InputEventType::KeyUp, key}});
}

// The page lost the focus: key-ups sent meanwhile never reach it.
EMSCRIPTEN_KEEPALIVE void pageFocusLost()
{
    if (runKind == RunKind::Player)
        queue.push_back({true, {InputEventType::KeyUp, 0}});
}

// The page is being left: the high score is saved as when quitting from the
// title, without taking a draw from the game's random numbers, so that a
// game left and taken up again plays on as it would have.
EMSCRIPTEN_KEEPALIVE void pageSaveHighScore()
{
    if (gameState == Loading || runKind != RunKind::Player)
        return; // nothing loaded yet, nothing to keep; a watched run saves nothing
    const uint32_t state = randomState();
    saveHighScore();
    seedRandom(state);
}

// The best score as the game holds it (the page's tests read it).
EMSCRIPTEN_KEEPALIVE int pageHighScore() { return highScore; }

// The game's state (game/game_data.h), for the tests.
EMSCRIPTEN_KEEPALIVE int pageGameState() { return gameState; }

// 1 while the game is paused, for the tests.
EMSCRIPTEN_KEEPALIVE int pagePaused() { return paused ? 1 : 0; }

// The ship's left edge in screen units, -1 while it is not in play (for the tests).
EMSCRIPTEN_KEEPALIVE int pageShipX() { return ship.active ? ship.x : -1; }

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

// A new run of the player's, as if the program started again: after the
// game quit from the title, or instead of a recorded run.
EMSCRIPTEN_KEEPALIVE void pageRestart()
{
    if (!stopped && runKind == RunKind::Player)
        return;
    beginPlaying();
}

// What main begins with: watching watchedFile, or nothing (a damaged link).
EMSCRIPTEN_KEEPALIVE void pageWatchAtStart() { start = Start::Watch; }
EMSCRIPTEN_KEEPALIVE void pageHold() { start = Start::Hold; }

// Watches the recording in watchedFile now: 1 when it plays, 0 when it was
// refused (the page was told why).
EMSCRIPTEN_KEEPALIVE int pageWatch() { return beginWatching() ? 1 : 0; }

// Escape while watching: the run stops where it is.
EMSCRIPTEN_KEEPALIVE void pageStopWatching()
{
    if (runKind == RunKind::Watched)
        stopRun();
}

// The player's run as recorded, ending at this frame, and the high score it
// started from.
EMSCRIPTEN_KEEPALIVE const char* pageRecording()
{
    static std::string text;
    text = playerRecordingUntil(frame);
    return text.c_str();
}
EMSCRIPTEN_KEEPALIVE int pageRunStartScore() { return playerRecording.highScore; }

// The canvas was sized anew: the last picture is shown again at its size.
EMSCRIPTEN_KEEPALIVE void pageRedraw()
{
    if (drawing && !lost)
        presentPicture();
}

} // extern "C"

int main()
{
    // The headless host's clock; the game's swap stays the services' default,
    // which does nothing: the picture is shown once per animation frame.
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
    drawing = true;
    setPerspectiveView();
    loadGraphics();
    watchWebglContext(contextLost, contextRestored);
    if (start == Start::Hold || (start == Start::Watch && beginWatching()))
        return 0;
    beginPlaying();
    return 0;
}
