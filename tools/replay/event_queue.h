// The replay's event queue: the key script's events posted at their passes,
// and at most one event taken and applied per pass, as the game's main loop
// takes one from SDL.
#pragma once
#include "key_script.h"

#include <deque>
#include <vector>

struct EventQueue {
    enum class Kind { Down, Up, Close, Quit };
    struct Queued {
        Kind kind;
        int  key;
    };

    const std::vector<ScriptEvent>* script = nullptr; // in pass order
    size_t                          next   = 0;       // first script event not yet posted
    std::deque<Queued>              waiting;

    void post(const ScriptEvent& event);
    void postScriptEvents(uint64_t pass); // the script's events of this pass
    void applyOne();                      // takes the oldest event, if any, and applies it
};
