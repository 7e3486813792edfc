// A desktop host's run: recorded from the program's start (and kept as the
// best game when it set a new high score that was saved), or a recording
// watched instead of played.
#pragma once
#include "host/recording.h"
#include "host/script_events.h"
#include "system/input.h"

#include <cstdint>
#include <string>
#include <vector>

struct RunSession {
    uint64_t  pass      = 0;     // the main loop's pass, from 0
    bool      recording = false; // the run is recorded
    Recording record;
    bool      watching = false; // the run plays `script`; the keys are not the player's
    std::vector<ScriptEvent> script;
    EventQueue               queue;
    ScriptCalendar           calendar;
    uint64_t                 endPass = 0;       // a watched run that has not quit by then ends
    int64_t (*hostCalendar)()        = nullptr; // the host's own calendar, under the recording
    // Called after each pass's frame, with its number; tests trace the game here.
    void (*passDone)(uint64_t pass) = nullptr;
};
extern RunSession runSession;

// Starts recording the run at pass 0, once the host's services are
// installed: the calendar reads go through the recording from now on.
void startRecordedRun();

// Reads a recording to watch, bounded: `what` is a file name, or "best" for
// the best game beside the high score. False with a one-line reason in *why.
bool readWatchedRecording(const std::string& what, std::string* text, std::string* why);

// Checks the recording and makes the run play it: its events, its calendar,
// its high score, and nothing saved. False with a one-line reason in *why
// (both versions named when its game behaves differently).
bool startWatchedRun(const std::string& text, std::string* why);

// What the host applied in this pass, as it applied it.
void recordAppliedEvent(const InputEvent& event);
void recordFocusLost();

// A watched pass: the recording's events of this pass are posted and one is
// applied; past the recording's end the run quits.
void playWatchedPass();

// After each pass's frame: the hook, then on to the next pass.
void finishPass();

// As the program ends: when the run saved a new high score, its recording
// goes to BestGame.keys. True when it was written.
bool keepBestGame();
