// The Windows host's setup: its clock (the performance counter, sleeping on
// a 1 ms timer) and its services (presenting, the calendar).
#pragma once
#include <string>

// Points the frame clock at the performance counter, asks Windows for 1 ms
// timer steps and points the game's services at the window and the calendar.
void installWin32Host();

// The process's peak memory in KiB (its peak working set).
long processPeakMemoryKib();

// Gives the timer steps back, as the program exits.
void shutDownWin32Host();

// One line in the log: "swarm: " and `text` on standard error (where a test
// or a console reads it) and to the debugger's output (where Windows tools
// read a windowed program's log).
void logLine(const std::string& text);
