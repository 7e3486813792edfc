// The replay tool's command line: options, their values and the usage text.
#include "replay_options.h"

#include <unistd.h>

#include <cstdio>

namespace {

const char* const usage =
    "usage: swarm-replay [--data DIR] [--time T] [--frames N] [--keys FILE]\n"
    "                    [--trace FILE] [--screenshot F:FILE.png]... [--bench] [--check]\n"
    "                    [--autoplay FILE] [--full-render]\n"
    "--keys takes a key script or a game's recording (BestGame.keys), whose\n"
    "first line gives --time, --frames and the starting high score unless given.\n";

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

// Pictures are named from where the tool was started, before it changes to
// the data directory.
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

int replayFailure(const std::string& message)
{
    std::fprintf(stderr, "swarm-replay: %s\n", message.c_str());
    return 2;
}

int parseReplayOptions(int argc, char** argv, ReplayOptions* options)
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
            return 0;
        } else if (!hasValue &&
                   (arg == "--data" || arg == "--time" || arg == "--frames" || arg == "--keys" ||
                    arg == "--trace" || arg == "--screenshot" || arg == "--autoplay")) {
            return replayFailure(arg + " needs a value");
        } else if (arg == "--data") {
            options->dataDir = value();
        } else if (arg == "--time") {
            uint64_t t = 0;
            if (!parseUnsigned(argv[i + 1], &t))
                return replayFailure("--time takes a non-negative integer, not '" +
                                     std::string(argv[i + 1]) + "'");
            ++i;
            options->startTime = static_cast<uint32_t>(t);
            options->timeGiven = true;
        } else if (arg == "--frames") {
            if (!parseUnsigned(argv[i + 1], &options->frames))
                return replayFailure("--frames takes a non-negative integer, not '" +
                                     std::string(argv[i + 1]) + "'");
            ++i;
            options->framesGiven = true;
        } else if (arg == "--keys") {
            options->keysFile = value();
        } else if (arg == "--autoplay") {
            options->autoplayFile = value();
        } else if (arg == "--trace") {
            options->traceFile = value();
        } else if (arg == "--screenshot") {
            const std::string shot  = value();
            const size_t      colon = shot.find(':');
            uint64_t          pass  = 0;
            if (colon == std::string::npos || colon + 1 == shot.size() ||
                !parseUnsigned(shot.substr(0, colon).c_str(), &pass))
                return replayFailure("--screenshot takes PASS:FILE.png, not '" + shot + "'");
            options->screenshots[pass] = absolute(shot.substr(colon + 1));
        } else {
            std::fputs(usage, stderr);
            return replayFailure("unknown argument '" + arg + "'");
        }
    }
    if (!options->autoplayFile.empty() && !options->keysFile.empty())
        return replayFailure("--autoplay and --keys cannot be used together");
    return -1;
}
