// A simple built-in player for the replay tool: it decides the keys from the
// game data, so long games that clear waves can be recorded as key scripts.
#pragma once
#include "host/key_script.h"

#include <cstdint>

// Decides at most one key event for this pass (as a player's keyboard gives
// one event per pass at most). Returns false when no key changes.
bool autoplayEvent(uint64_t pass, ScriptEvent* event);
