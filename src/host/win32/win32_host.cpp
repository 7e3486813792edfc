// Host services on Win32: the performance counter, sleeping, presenting.
#include "host/win32/win32_host.h"

#include "host/present/present.h"
#include "system/clock_source.h"
#include "system/services.h"

#include <windows.h>

#include <cstdio>
#include <ctime>
#include <mmsystem.h>
#include <psapi.h>

namespace {

// How late Sleep may wake, in ms, with the timer at 1 ms steps: a sleep ends
// on the next tick after its time, so up to a whole step late, and a little
// more on a busy machine; the pacing wait spins for the rest.
constexpr double wakeMargin = 1.5;

bool timerPeriodSet = false;

int64_t performanceNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t performanceFrequency()
{
    LARGE_INTEGER frequency;
    return QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
}

uint32_t millisecondTimer() { return timeGetTime(); }

// Sleeps the whole milliseconds until the counter reads `ticks`.
void sleepUntil(int64_t ticks)
{
    const int64_t left = ticks - performanceNow();
    const int64_t ms   = left * 1000 / performanceFrequency();
    if (ms >= 1)
        Sleep(static_cast<DWORD>(ms));
}

void sleepMs(double ms)
{
    if (ms >= 1.0)
        Sleep(static_cast<DWORD>(ms));
}

int64_t wallClock() { return static_cast<int64_t>(std::time(nullptr)); }

} // namespace

void installWin32Host()
{
    timerPeriodSet               = timeBeginPeriod(1) == TIMERR_NOERROR;
    clockSource.counterNow       = performanceNow;
    clockSource.counterFrequency = performanceFrequency;
    clockSource.millisecondTimer = millisecondTimer;
    clockSource.sleepUntil       = sleepUntil;
    clockSource.sleepMs          = sleepMs;
    clockSource.wakeMarginMs     = wakeMargin;
    clockSource.realTime         = true;
    hostServices.swapBuffers     = presentDisplay;
    hostServices.calendarSeconds = wallClock;
}

long processPeakMemoryKib()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb                      = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

void shutDownWin32Host()
{
    if (timerPeriodSet)
        timeEndPeriod(1);
    timerPeriodSet = false;
}

void logLine(const std::string& text)
{
    const std::string line = "swarm: " + text + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    OutputDebugStringA(line.c_str());
}
