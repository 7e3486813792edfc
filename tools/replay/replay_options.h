// The replay tool's command line.
#pragma once
#include <cstdint>
#include <map>
#include <string>

struct ReplayOptions {
    std::string                     dataDir;
    uint32_t                        startTime   = 0;     // calendar seconds at pass 0
    uint64_t                        frames      = 1000;  // passes to run at most
    bool                            timeGiven   = false; // --time was given
    bool                            framesGiven = false; // --frames was given
    std::string                     keysFile;
    std::string                     traceFile;   // "-" for standard output
    std::map<uint64_t, std::string> screenshots; // pass -> PNG path
    bool                            bench = false;
    bool                            check = false;
    std::string                     autoplayFile;       // the built-in player's keys go here
    bool                            fullRender = false; // rasterize every pass, not just pictures
};

// Returns -1 when the options are good; otherwise the exit status, after a
// message (or the usage, for --help) has been printed.
int parseReplayOptions(int argc, char** argv, ReplayOptions* options);

// Prints "swarm-replay: MESSAGE" on standard error and returns 2.
int replayFailure(const std::string& message);
