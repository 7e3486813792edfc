// The SDL host's setup: its clock and services, and keyboard and pad events from SDL2.
#pragma once
#include "host/key_table.h"
#include "system/input.h"

union SDL_Event;

// Points the frame clock at the monotonic clock and the game's services at the
// display and the calendar.
void installSdlHost();

// The process's peak memory in KiB (its largest resident set).
long processPeakMemoryKib();

// Ends every SDL subsystem still running, as the program exits.
void shutDownSdl();

// Switches off the event types the game never reads.
void filterSdlEvents();

// Turns one SDL keyboard or quit event into the game's input event; false
// when the game ignores it. Alt+F4 with no window manager to take it becomes
// a quit request; Alt+Enter switches between fullscreen and a window.
bool translateSdlEvent(const SDL_Event& event, InputEvent* out);

// Applies at most one key or quit event per pass, from the keyboard or a pad,
// taking SDL's events until one makes such an event; the rest of what one
// pad event makes waits for the next passes. When the window loses the focus,
// that pass releases every key held instead.
void handleOneSdlEvent();

// A pass of a watched run: the player's events are taken and dropped, but
// for Escape and the window's close, which end watching, and Alt+Enter; the
// recording's event of the pass is applied.
void handleWatchingSdlEvents();

// The main loop, until the game quits: per pass one event (the player's, or
// the watched recording's), then one frame.
void runSdlMainLoop();
