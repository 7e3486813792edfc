// The trace of a replayed game: one JSON object per pass with all game data.
#pragma once
#include <cstdint>
#include <string>

// Appends the JSON line (with its newline) for the state after pass `pass`.
void appendTraceLine(uint64_t pass, std::string* out);
