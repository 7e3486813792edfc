// The replay's pass loop, on the headless host.
#include "pass_loop.h"

#include "autoplay.h"
#include "host/headless/headless_host.h"
#include "host/script_events.h"
#include "invariants.h"
#include "png_write.h"
#include "trace.h"

#include "game/frame.h"
#include "gfx/gl.h"
#include "system/input.h"

#include <string>

namespace {

// The built-in player decides a key only while no other event waits, and
// writes it down as a key script line.
void autoplayStep(uint64_t pass, std::FILE* out, EventQueue* queue)
{
    ScriptEvent played;
    if (!out || !queue->waiting.empty() || !autoplayEvent(pass, &played))
        return;
    std::fprintf(out, "%llu %s %d\n", static_cast<unsigned long long>(pass),
                 played.action == ScriptAction::Down ? "down" : "up", played.key);
    queue->post(played);
}

// Every frame repaints the whole picture, so only the passes whose picture is
// kept need their pixels filled in: the others still make every drawing call,
// with the scissor box shrunk to one pixel.
void limitRasterizing(bool wholePicture)
{
    if (wholePicture) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glScissor(0, 0, 1, 1);
        glEnable(GL_SCISSOR_TEST);
    }
}

} // namespace

int runPasses(const ReplayOptions& options, const std::vector<ScriptEvent>& script,
              const PassOutputs& outputs, uint64_t* passes)
{
    std::vector<unsigned char> picture(pictureWidth * pictureHeight * 3);
    EventQueue                 queue;
    queue.script = &script;
    // The script's time lines say what the calendar read, where it has them.
    headlessHost.calendar.script = &script;
    headlessHost.calendar.next   = 0;
    std::string line;
    int         status = 0;

    uint64_t pass = 0;
    for (; pass < options.frames && !quitRequested; ++pass) {
        headlessHost.pass = pass;
        queue.postScriptEvents(pass);
        autoplayStep(pass, outputs.autoplay, &queue);
        queue.applyOne();

        const auto shot           = options.screenshots.find(pass);
        const bool wantPicture    = shot != options.screenshots.end();
        headlessHost.picture      = wantPicture ? picture.data() : nullptr;
        headlessHost.pictureTaken = false;
        headlessHost.soundCalls.clear();
        limitRasterizing(options.fullRender || wantPicture);

        runFrame();

        if (outputs.trace) {
            line.clear();
            appendTraceLine(pass, &line);
            std::fwrite(line.data(), 1, line.size(), outputs.trace);
        }
        if (headlessHost.pictureTaken &&
            !writePng(shot->second, picture.data(), pictureWidth, pictureHeight, 3)) {
            std::fprintf(stderr, "swarm-replay: cannot write '%s'\n", shot->second.c_str());
            status = 1;
        }
        if (options.check) {
            const std::string broken = checkInvariants();
            if (!broken.empty()) {
                std::fprintf(stderr, "swarm-replay: pass %llu: %s\n",
                             static_cast<unsigned long long>(pass), broken.c_str());
                status = 1;
                ++pass;
                break;
            }
        }
    }
    headlessHost.picture = nullptr;
    *passes              = pass;
    return status;
}
