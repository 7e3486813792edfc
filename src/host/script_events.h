// A key script played into the game: its events posted at their passes, and
// at most one event taken and applied per pass, as a host's main loop takes
// one from its window; and the calendar as the script's time lines give it.
#pragma once
#include "host/key_script.h"

#include <deque>
#include <vector>

struct EventQueue {
    enum class Kind { Down, Up, Close, Quit, Focus };
    struct Queued {
        Kind kind;
        int  key;
    };

    const std::vector<ScriptEvent>* script = nullptr; // in pass order
    size_t                          next   = 0;       // first script event not yet posted
    std::deque<Queued>              waiting;

    void post(const ScriptEvent& event);  // Time lines are no events: ignored
    void postScriptEvents(uint64_t pass); // the script's events of this pass
    void applyOne();                      // takes the oldest event, if any, and applies it
};

// The calendar of a script: a read in a pass with a time line returns its
// seconds (one line per read, in order); any other read returns `start` plus
// a second per 100 passes, as the headless host's virtual calendar counts.
struct ScriptCalendar {
    const std::vector<ScriptEvent>* script = nullptr; // in pass order
    size_t                          next   = 0;       // first time line not yet read
    int64_t                         start  = 0;       // calendar seconds at pass 0
};

int64_t readScriptCalendar(ScriptCalendar* calendar, uint64_t pass);
