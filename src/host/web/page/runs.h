// The page's runs: the player's, recorded from its first frame, or a recorded
// one watched. Either starts as the program does, at pass 0 of the headless
// host's virtual clock; the page's frames are its passes.
#pragma once
#include "host/recording.h"

#include <cstdint>
#include <string>

enum class RunKind { None, Player, Watched };

extern RunKind   runKind;
extern Recording playerRecording; // the player's run, or the last one

// The player's run: the game's data as at the program's start, the calendar
// starting now, the data folder as the working directory, recorded from here.
void beginPlayerRun();
// A recorded run, read from `path`: its events, its calendar, and the high
// score it started from; it saves nothing. False with why when it cannot be
// watched, and nothing is changed then.
bool beginWatchedRun(const char* path, std::string* why);

// The watched run's events of this pass posted, and one event applied.
void applyWatchedEvent(uint64_t pass);

// The player's recording as it would end at `pass`: with a close there, so
// that watching it ends where it was taken.
std::string playerRecordingUntil(uint64_t pass);
