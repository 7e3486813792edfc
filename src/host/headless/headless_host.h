// The headless host: the game on one virtual machine with no window of its
// own, no real clock and no sound device. The replay tool and the tests both
// install it, so they run the game the same way. Each pass of the main loop
// lasts exactly 10 ms of its virtual clock. It comes in three parts, which
// another host may take one by one: the virtual clock, the capturing swap and
// the sound recorder (the page takes the clock alone).
#pragma once
#include "host/picture.h"
#include "host/script_events.h"

#include <cstdint>
#include <string>
#include <vector>

struct SoundCall {
    int32_t     channel;  // the channel the game played it on
    std::string fileName; // the sound's file
};

struct HeadlessHost {
    uint64_t pass; // the pass being run; the clock reads pass x 10 ms
    // The calendar: its start (calendar seconds at pass 0, one more per 100
    // passes) and, when a script is set, the seconds of its time lines.
    ScriptCalendar           calendar;
    unsigned char*           picture;      // when set, swaps read the picture into it
    bool                     pictureTaken; // a swap has filled `picture`
    std::vector<SoundCall>   soundCalls;   // every sound played since last cleared
    std::vector<std::string> silentSounds; // files loaded that the game's mixer would refuse
};
extern HeadlessHost headlessHost;

// Resets the host to pass 0 at calendarStart and installs its three parts.
void installHeadlessHost(uint32_t calendarStart);

// The parts. The virtual clock: the frame clock reads pass x 10 ms, frames are
// not paced, and the calendar reads calendarStart plus a second per 100
// passes, or what a time line of calendar.script gives for the pass; it
// starts at pass 0. The capturing swap: headlessSwap below. The
// sound recorder: every sound the game plays goes to soundCalls, and each file
// that the game's mixer would refuse to silentSounds.
void installVirtualClock(uint32_t calendarStart);
void installCapturingSwap();
void installSoundRecorder();

// Reads the 640 x 480 picture drawn so far from the frame buffer bound for
// reading, RGB, top row first.
void readPicture(unsigned char* rgb);

// The swap: keeps the 640 x 480 RGB picture (top row first) when `picture` is
// set, and hands the frame's drawing to the renderer, as a real swap would, so
// that queued work never piles up.
void headlessSwap();
