// The replay's main loop: per pass at most one event, then one frame of the
// game, then the trace line, the picture and the checks asked for.
#pragma once
#include "host/key_script.h"
#include "replay_options.h"

#include <cstdint>
#include <cstdio>
#include <vector>

struct PassOutputs {
    std::FILE* trace    = nullptr; // one JSON line per pass, when set
    std::FILE* autoplay = nullptr; // the built-in player's key script, when set
};

// Runs passes until options.frames have run or the game quits. Returns the
// exit status (0, or 1 when a picture could not be written or an invariant
// broke) and the number of passes run in *passes.
int runPasses(const ReplayOptions& options, const std::vector<ScriptEvent>& script,
              const PassOutputs& outputs, uint64_t* passes);
