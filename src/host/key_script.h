// Key scripts: the scripted keyboard (and calendar) of a replayed or watched game.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Down, Up and Close are events of the pass's queue; Focus (the window lost
// the focus) releases every held key in its pass; Time is no event but what
// the calendar read in that pass returned.
enum class ScriptAction { Down, Up, Close, Focus, Time };

struct ScriptEvent {
    uint64_t     pass; // posted at the start of this pass
    ScriptAction action;
    int          key;     // virtual-key code for Down and Up
    int64_t      seconds; // calendar seconds for Time
};

// Parses a whole script. On a malformed line returns false with a message that
// names the line number in *error.
bool parseKeyScript(const std::string& text, std::vector<ScriptEvent>* events, std::string* error);
