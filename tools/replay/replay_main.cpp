// swarm-replay: runs the real game headless on a virtual clock with scripted
// keys, and writes a trace of the game data and pictures of chosen passes.
#include "host/headless/headless_host.h"
#include "key_script.h"
#include "pass_loop.h"
#include "replay_options.h"

#include "gfx/font.h"
#include "gfx/images.h"
#include "host/headless/offscreen.h"
#include "host/view.h"

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// Reads and parses the key script; false after a message.
bool readKeyScript(const std::string& path, std::vector<ScriptEvent>* script)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        replayFailure("cannot read the key script '" + path + "'");
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    if (!parseKeyScript(text.str(), script, &error)) {
        replayFailure(path + ": " + error);
        return false;
    }
    return true;
}

// Passes per second and peak memory, on standard error so that a trace on
// standard output stays clean.
void printBench(uint64_t passes, double seconds)
{
    struct rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    std::fprintf(stderr, "passes %llu  seconds %.3f  passes/s %.0f  ",
                 static_cast<unsigned long long>(passes), seconds,
                 seconds > 0 ? static_cast<double>(passes) / seconds : 0.0);
    // A browser tells a page nothing of its process's memory.
    if (usage.ru_maxrss > 0)
        std::fprintf(stderr, "peak memory %.1f MB\n",
                     static_cast<double>(usage.ru_maxrss) / 1024.0);
    else
        std::fprintf(stderr, "peak memory not known here\n");
}

} // namespace

int main(int argc, char** argv)
{
    ReplayOptions options;
    if (const int status = parseReplayOptions(argc, argv, &options); status >= 0)
        return status;

    std::vector<ScriptEvent> script;
    if (!options.keysFile.empty() && !readKeyScript(options.keysFile, &script))
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
