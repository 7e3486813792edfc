// Host services and keyboard events from SDL2.
#pragma once
#include "app/input.h"

union SDL_Event;

// Points the frame clock at SDL's counter and the game's services at the
// display and the calendar.
void installSdlPlatform();

// Ends every SDL subsystem still running, as the program exits.
void shutDownSdl();

// Switches off the event types the game never reads, so that they cannot
// queue up in front of key events.
void filterSdlEvents();

// Turns one SDL event into the game's input event; false when the game
// ignores it. Alt+F4 with no window manager to take it becomes a quit request.
bool translateSdlEvent(const SDL_Event& event, InputEvent* out);

// Takes at most one waiting event from SDL and applies it.
void handleOneSdlEvent();
