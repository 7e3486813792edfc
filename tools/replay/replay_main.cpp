// swarm-replay: runs the real game headless on a virtual clock with scripted
// keys, and writes a trace of the game data and pictures of chosen passes.
#include "autoplay.h"
#include "invariants.h"
#include "key_script.h"
#include "png_write.h"
#include "trace.h"

#include "app/input.h"
#include "app/platform.h"
#include "app/sdl_display.h"
#include "app/view.h"
#include "game/frame.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"
#include "sound/sound.h"

#include <SDL2/SDL.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const usage =
    "usage: swarm-replay [--data DIR] [--time T] [--frames N] [--keys FILE]\n"
    "                    [--trace FILE] [--screenshot F:FILE.png]... [--bench] [--check]\n"
    "                    [--autoplay FILE] [--full-render]\n";

struct Options {
    std::string                     dataDir;
    uint32_t                        startTime = 0;
    uint64_t                        frames    = 1000;
    std::string                     keysFile;
    std::string                     traceFile;
    std::map<uint64_t, std::string> screenshots; // pass -> PNG path
    bool                            bench = false;
    bool                            check = false;
    std::string                     autoplayFile;       // the built-in player's keys go here
    bool                            fullRender = false; // rasterize every pass, not just pictures
};

// The virtual clock: every pass lasts exactly 10 ms.
uint64_t                   currentPass = 0;
uint32_t                   startTime   = 0;
bool                       wantPicture = false;
bool                       havePicture = false;
std::vector<unsigned char> picture(640 * 480 * 3);

int64_t  virtualCounter() { return static_cast<int64_t>(currentPass * 10); }
int64_t  virtualFrequency() { return 1000; }
uint32_t virtualTimer() { return static_cast<uint32_t>(currentPass * 10); }
void     noSleep(double) {}
int64_t  virtualCalendar()
{
    return static_cast<int64_t>(startTime) + static_cast<int64_t>(currentPass / 100);
}

// Stands in for the buffer swap: keeps the picture when it is wanted, and
// hands the frame's drawing to the renderer, as a swap would, so that queued
// work never piles up.
void capturePicture()
{
    if (wantPicture) {
        readDisplayPixels(picture.data());
        havePicture = true;
    }
    glFlush();
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "swarm-replay: %s\n", message.c_str());
    return 2;
}

bool parseUnsigned(const char* text, uint64_t* value)
{
    if (!text || !*text)
        return false;
    uint64_t result = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9' || result > (UINT64_MAX - 9) / 10)
            return false;
        result = result * 10 + static_cast<uint64_t>(*p - '0');
    }
    *value = result;
    return true;
}

// Returns 0 when the options are good, else the exit status after a message.
int parseOptions(int argc, char** argv, Options* options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg      = argv[i];
        const bool        hasValue = i + 1 < argc;
        auto              value    = [&]() { return argv[++i]; };
        if (arg == "--bench") {
            options->bench = true;
        } else if (arg == "--full-render") {
            options->fullRender = true;
        } else if (arg == "--check") {
            options->check = true;
        } else if (arg == "--help") {
            std::fputs(usage, stdout);
            std::exit(0);
        } else if (!hasValue &&
                   (arg == "--data" || arg == "--time" || arg == "--frames" || arg == "--keys" ||
                    arg == "--trace" || arg == "--screenshot" || arg == "--autoplay")) {
            return fail(arg + " needs a value");
        } else if (arg == "--data") {
            options->dataDir = value();
        } else if (arg == "--time") {
            uint64_t t = 0;
            if (!parseUnsigned(argv[i + 1], &t))
                return fail("--time takes a non-negative integer, not '" +
                            std::string(argv[i + 1]) + "'");
            ++i;
            options->startTime = static_cast<uint32_t>(t);
        } else if (arg == "--frames") {
            if (!parseUnsigned(argv[i + 1], &options->frames))
                return fail("--frames takes a non-negative integer, not '" +
                            std::string(argv[i + 1]) + "'");
            ++i;
        } else if (arg == "--keys") {
            options->keysFile = value();
        } else if (arg == "--autoplay") {
            options->autoplayFile = value();
        } else if (arg == "--trace") {
            options->traceFile = value();
        } else if (arg == "--screenshot") {
            const std::string spec  = value();
            const size_t      colon = spec.find(':');
            uint64_t          pass  = 0;
            if (colon == std::string::npos || colon + 1 == spec.size() ||
                !parseUnsigned(spec.substr(0, colon).c_str(), &pass))
                return fail("--screenshot takes PASS:FILE.png, not '" + spec + "'");
            options->screenshots[pass] = spec.substr(colon + 1);
        } else {
            std::fputs(usage, stderr);
            return fail("unknown argument '" + arg + "'");
        }
    }
    return 0;
}

std::string absolute(const std::string& path)
{
    if (path.empty() || path[0] == '/')
        return path;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        return path;
    return std::string(cwd) + "/" + path;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const int status = parseOptions(argc, argv, &options))
        return status;

    std::vector<ScriptEvent> script;
    if (!options.keysFile.empty()) {
        std::ifstream in(options.keysFile, std::ios::binary);
        if (!in)
            return fail("cannot read the key script '" + options.keysFile + "'");
        std::stringstream text;
        text << in.rdbuf();
        std::string error;
        if (!parseKeyScript(text.str(), &script, &error))
            return fail(options.keysFile + ": " + error);
    }

    if (!options.autoplayFile.empty() && !options.keysFile.empty())
        return fail("--autoplay and --keys cannot be used together");
    FILE* autoplayOut = nullptr;
    if (!options.autoplayFile.empty()) {
        autoplayOut = std::fopen(options.autoplayFile.c_str(), "wb");
        if (!autoplayOut)
            return fail("cannot write the key script '" + options.autoplayFile + "'");
        std::fprintf(autoplayOut, "# Played by swarm-replay --autoplay --time %u\n",
                     options.startTime);
    }

    FILE* trace = nullptr;
    if (options.traceFile == "-") {
        trace = stdout;
    } else if (!options.traceFile.empty()) {
        trace = std::fopen(options.traceFile.c_str(), "wb");
        if (!trace)
            return fail("cannot write the trace '" + options.traceFile + "'");
    }
    // Pictures are named from where the tool was started.
    for (auto& shot : options.screenshots)
        shot.second = absolute(shot.second);

    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
        return fail("cannot change to the data directory '" + options.dataDir + "'");

    startTime                 = options.startTime;
    platform.counterNow       = virtualCounter;
    platform.counterFrequency = virtualFrequency;
    platform.millisecondTimer = virtualTimer;
    platform.sleepMs          = noSleep;
    platform.swapBuffers      = capturePicture;
    platform.calendarSeconds  = virtualCalendar;
    platform.realTime         = false;
    soundBackend              = nullptr; // no audio device; calls are still recorded
    recordSounds              = true;

    std::string error;
    if (!openDisplay(DisplayMode::Offscreen, &error))
        return fail(error);
    setPerspectiveView();
    loadGraphics();

    enum class Queued { Down, Up, Close, Quit };
    struct QueuedEvent {
        Queued kind;
        int    key;
    };
    std::deque<QueuedEvent> queue;
    size_t                  next = 0;
    std::string             line;
    int                     status = 0;

    const auto started = std::chrono::steady_clock::now();
    uint64_t   pass    = 0;
    for (; pass < options.frames && !quitRequested; ++pass) {
        currentPass = pass;
        for (; next < script.size() && script[next].pass == pass; ++next) {
            const ScriptEvent& e = script[next];
            queue.push_back({e.action == ScriptAction::Down ? Queued::Down
                             : e.action == ScriptAction::Up ? Queued::Up
                                                            : Queued::Close,
                             e.key});
        }
        while (next < script.size() && script[next].pass < pass)
            ++next;
        ScriptEvent played;
        if (autoplayOut && queue.empty() && autoplayEvent(pass, &played)) {
            std::fprintf(autoplayOut, "%llu %s %d\n", static_cast<unsigned long long>(pass),
                         played.action == ScriptAction::Down ? "down" : "up", played.key);
            queue.push_back(
                {played.action == ScriptAction::Down ? Queued::Down : Queued::Up, played.key});
        }
        if (!queue.empty()) {
            const QueuedEvent e = queue.front();
            queue.pop_front();
            switch (e.kind) {
            case Queued::Down: applyInputEvent({InputEventType::KeyDown, e.key}); break;
            case Queued::Up: applyInputEvent({InputEventType::KeyUp, e.key}); break;
            case Queued::Close: queue.push_back({Queued::Quit, 0}); break;
            case Queued::Quit: applyInputEvent({InputEventType::Quit, 0}); break;
            }
        }

        const auto shot = options.screenshots.find(pass);
        wantPicture     = shot != options.screenshots.end();
        havePicture     = false;
        soundCalls.clear();

        // Every frame repaints the whole picture, so only the passes whose
        // picture is kept need their pixels filled in: the others still make
        // every drawing call, with the scissor box shrunk to one pixel.
        if (options.fullRender || wantPicture) {
            glDisable(GL_SCISSOR_TEST);
        } else {
            glScissor(0, 0, 1, 1);
            glEnable(GL_SCISSOR_TEST);
        }

        runFrame();

        if (trace) {
            line.clear();
            appendTraceLine(pass, &line);
            std::fwrite(line.data(), 1, line.size(), trace);
        }
        if (havePicture && !writePng(shot->second, picture.data(), 640, 480, 3)) {
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
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    if (autoplayOut)
        std::fclose(autoplayOut);
    if (trace && trace != stdout)
        std::fclose(trace);
    else if (trace)
        std::fflush(stdout);
    if (options.bench) {
        struct rusage usage = {};
        getrusage(RUSAGE_SELF, &usage);
        // On standard error, so that a trace on standard output stays clean.
        std::fprintf(stderr, "passes %llu  seconds %.3f  passes/s %.0f  peak memory %.1f MB\n",
                     static_cast<unsigned long long>(pass), seconds,
                     seconds > 0 ? static_cast<double>(pass) / seconds : 0.0,
                     static_cast<double>(usage.ru_maxrss) / 1024.0);
    }

    releaseFont();
    closeDisplay();
    SDL_Quit();
    return status;
}
