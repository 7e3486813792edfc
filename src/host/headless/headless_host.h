// The headless host: the game on one virtual machine with no window of its
// own, no real clock and no sound device. The replay tool and the tests both
// install it, so they run the game the same way. Each pass of the main loop
// lasts exactly 10 ms of its virtual clock.
#pragma once
#include "host/picture.h"

#include <cstdint>
#include <string>
#include <vector>

struct SoundCall {
    int32_t     channel;  // the channel the game played it on
    std::string fileName; // the sound's file
};

struct HeadlessHost {
    uint64_t                 pass;          // the pass being run; the clock reads pass x 10 ms
    uint32_t                 calendarStart; // calendar seconds at pass 0, one more per 100 passes
    unsigned char*           picture;       // when set, swaps read the picture into it
    bool                     pictureTaken;  // a swap has filled `picture`
    std::vector<SoundCall>   soundCalls;    // every sound played since last cleared
    std::vector<std::string> silentSounds;  // files loaded that the game's mixer would refuse
};
extern HeadlessHost headlessHost;

// Resets the host to pass 0 at calendarStart and installs its virtual clock
// (frames not paced), its swap and its recording sound backend.
void installHeadlessHost(uint32_t calendarStart);

// Reads the 640 x 480 picture drawn so far from the frame buffer bound for
// reading, RGB, top row first.
void readPicture(unsigned char* rgb);

// The swap: keeps the 640 x 480 RGB picture (top row first) when `picture` is
// set, and hands the frame's drawing to the renderer, as a real swap would, so
// that queued work never piles up.
void headlessSwap();
