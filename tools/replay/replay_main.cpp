// swarm-replay: runs the real game headless on a virtual clock with scripted
// keys, and writes a trace of the game data and pictures of chosen passes.
#include "host/headless/headless_host.h"
#include "host/key_script.h"
#include "host/recording.h"
#include "pass_loop.h"
#include "replay_options.h"

#include "gfx/font.h"
#include "gfx/images.h"
#include "host/headless/offscreen.h"
#include "host/view.h"
#include "storage/high_score_file.h"

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// Passes run beyond a recording's last line when --frames is not given: a
// run that ends by itself (quit from the title) has ended by then.
constexpr uint64_t passesAfterRecording = 500;

// Reads and parses the key script; false after a message. A recording gives
// the calendar's start and the number of passes unless the options do, and
// its run starts from its high score and saves none.
bool readKeyScript(ReplayOptions* options, std::vector<ScriptEvent>* script)
{
    const std::string& path = options->keysFile;
    std::ifstream      in(path, std::ios::binary);
    if (!in) {
        replayFailure("cannot read the key script '" + path + "'");
        return false;
    }
    std::stringstream read;
    read << in.rdbuf();
    const std::string text = read.str();
    std::string       error;
    if (!isRecording(text)) {
        if (!parseKeyScript(text, script, &error)) {
            replayFailure(path + ": " + error);
            return false;
        }
        return true;
    }
    RecordingHeader header = {};
    if (!checkRecording(text, &header, script, &error)) {
        replayFailure(path + ": " + error);
        return false;
    }
    if (!options->timeGiven)
        options->startTime = static_cast<uint32_t>(header.time);
    if (!options->framesGiven)
        options->frames = (script->empty() ? 0 : script->back().pass) + passesAfterRecording;
    highScoreSwitch.saves     = false;
    highScoreSwitch.startFrom = header.highScore;
    return true;
}

// The process's peak memory in KiB, as Linux counts it (its largest resident
// set, the working set on Windows); 0 when not known.
long peakMemoryKib()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb                      = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
#endif
}

// Passes per second and peak memory, on standard error so that a trace on
// standard output stays clean.
void printBench(uint64_t passes, double seconds)
{
    const long peak = peakMemoryKib();
    std::fprintf(stderr, "passes %llu  seconds %.3f  passes/s %.0f  ",
                 static_cast<unsigned long long>(passes), seconds,
                 seconds > 0 ? static_cast<double>(passes) / seconds : 0.0);
    // A browser tells a page nothing of its process's memory.
    if (peak > 0)
        std::fprintf(stderr, "peak memory %.1f MB\n", static_cast<double>(peak) / 1024.0);
    else
        std::fprintf(stderr, "peak memory not known here\n");
}

} // namespace

int main(int argc, char** argv)
{
#ifdef _WIN32
    // Traces and messages byte for byte as on Linux: no \r before each \n.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif
    ReplayOptions options;
    if (const int status = parseReplayOptions(argc, argv, &options); status >= 0)
        return status;

    std::vector<ScriptEvent> script;
    if (!options.keysFile.empty() && !readKeyScript(&options, &script))
        return 2;

    PassOutputs outputs;
    if (!options.autoplayFile.empty()) {
        outputs.autoplay = std::fopen(options.autoplayFile.c_str(), "wb");
        if (!outputs.autoplay)
            return replayFailure("cannot write the key script '" + options.autoplayFile + "'");
        std::fprintf(outputs.autoplay, "# Played by swarm-replay --autoplay --time %u\n",
                     options.startTime);
    }
    if (options.traceFile == "-") {
        outputs.trace = stdout;
    } else if (!options.traceFile.empty()) {
        outputs.trace = std::fopen(options.traceFile.c_str(), "wb");
        if (!outputs.trace)
            return replayFailure("cannot write the trace '" + options.traceFile + "'");
    }

    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
        return replayFailure("cannot change to the data directory '" + options.dataDir + "'");

    installHeadlessHost(options.startTime);
    std::string error;
    if (!openOffscreenContext(&error))
        return replayFailure(error);
    setPerspectiveView();
    loadGraphics();

    const auto   started = std::chrono::steady_clock::now();
    uint64_t     passes  = 0;
    const int    status  = runPasses(options, script, outputs, &passes);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

    if (outputs.autoplay)
        std::fclose(outputs.autoplay);
    if (outputs.trace && outputs.trace != stdout)
        std::fclose(outputs.trace);
    else if (outputs.trace)
        std::fflush(stdout);
    if (options.bench)
        printBench(passes, seconds);

    releaseFont();
    closeOffscreenContext();
    return status;
}
