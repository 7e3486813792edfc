// Key scripts: the scripted keyboard of a replayed game.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

enum class ScriptAction { Down, Up, Close };

struct ScriptEvent {
    uint64_t     pass; // posted at the start of this pass
    ScriptAction action;
    int          key; // virtual-key code for Down and Up
};

// Parses a whole script. On a malformed line returns false with a message that
// names the line number in *error.
bool parseKeyScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error);
