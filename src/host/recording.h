// Recordings of a run: what the game read from its host that can differ
// between runs (the calendar at each read, each key event and focus loss),
// as a key script with a header line, so that any host or replay tool can
// play the run again pass for pass.
#pragma once
#include "host/key_script.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Raised whenever a change makes recorded games play differently: a recording
// of another game behaviour is refused.
constexpr int gameBehaviourVersion = 1;

// The largest recording kept or read: far beyond any game (a ten-minute game
// takes a few kilobytes).
constexpr std::size_t maxRecordingBytes = 1024 * 1024;

struct Recording {
    int64_t     time      = 0; // calendar seconds at pass 0
    int32_t     highScore = 0; // the high score the run started from
    std::string lines;         // the script's lines, after the header
    bool        full = false;  // reached maxRecordingBytes: later events were dropped
};

// Starts an empty recording of a run whose calendar read `time` at pass 0.
void startRecording(Recording* recording, int64_t time, int32_t highScore);
void recordKey(Recording* recording, uint64_t pass, bool down, int key);
void recordFocusLoss(Recording* recording, uint64_t pass);
void recordCalendarRead(Recording* recording, uint64_t pass, int64_t seconds);
void recordClose(Recording* recording, uint64_t pass);

// The whole recording: the header line, then its lines.
std::string recordingText(const Recording& recording);

struct RecordingHeader {
    std::string version;   // the project's version that recorded it
    int64_t     game;      // its gameBehaviourVersion
    int64_t     time;      // calendar seconds at pass 0
    int32_t     highScore; // the high score the run started from
};

// True when the text's first line is a recording's header (of any format
// and game), read into *header; false for a plain key script.
bool isRecording(const std::string& text);

// Checks a recording and reads it: not over maxRecordingBytes, the header of
// format 1 and of our game behaviour, every line well formed. False with one
// line on what is wrong in *why (naming both versions when the game differs).
bool checkRecording(const std::string& text, RecordingHeader* header,
                    std::vector<ScriptEvent>* events, std::string* why);
