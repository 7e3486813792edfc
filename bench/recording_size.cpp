// The size of a ten-minute bot game's recording, and what recording costs per
// frame: the built-in player plays 60000 passes on the headless host while
// the run is recorded as a host records it.
//   swarm-recording-size DATA_DIR OUT.keys [MIN_PASSES_BETWEEN_KEYS]
#include "autoplay.h"
#include "game/frame.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"
#include "host/headless/headless_host.h"
#include "host/headless/offscreen.h"
#include "host/run_session.h"
#include "host/view.h"
#include "storage/best_game_file.h"
#include "system/input.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: swarm-recording-size DATA_DIR OUT.keys [MIN_GAP]\n");
        return 2;
    }
    // A player's hand: at most one key change every `gap` passes.
    const uint64_t gap = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
    installHeadlessHost(1000);
    std::string error;
    if (!openOffscreenContext(&error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    setPerspectiveView();
    loadGraphics();
    glScissor(0, 0, 1, 1);
    glEnable(GL_SCISSOR_TEST);
    startRecordedRun();

    using Clock              = std::chrono::steady_clock;
    Clock::duration recorder = {};
    uint64_t        lastKey = 0, events = 0;
    const uint64_t  passes = 60000; // ten minutes of 10 ms frames
    for (uint64_t pass = 0; pass < passes && !quitRequested; ++pass) {
        headlessHost.pass = pass;
        ScriptEvent played;
        if (pass >= lastKey + gap && autoplayEvent(pass, &played)) {
            const InputEvent event = {played.action == ScriptAction::Down ? InputEventType::KeyDown
                                                                          : InputEventType::KeyUp,
                                      played.key};
            applyInputEvent(event);
            const auto start = Clock::now();
            recordAppliedEvent(event);
            recorder += Clock::now() - start;
            lastKey = pass;
            ++events;
        }
        runFrame();
        finishPass();
    }
    const std::string text = recordingText(runSession.record);
    writeBestGameFile(argv[2], text);
    std::printf("passes %llu  key events %llu  recording %zu bytes  recorder %.3f us per frame\n",
                static_cast<unsigned long long>(runSession.pass),
                static_cast<unsigned long long>(events), text.size(),
                std::chrono::duration<double, std::micro>(recorder).count() /
                    static_cast<double>(runSession.pass));
    releaseFont();
    closeOffscreenContext();
    return 0;
}
