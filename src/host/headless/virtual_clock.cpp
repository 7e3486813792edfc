// The headless host's virtual clock: each pass lasts exactly one game frame
// (10 ms), frames are not paced, and the calendar moves on a second every
// 100 passes, unless a script's time lines say what it read.
#include "host/headless/headless_host.h"

#include "system/clock_source.h"
#include "system/frame_clock.h"
#include "system/services.h"

HeadlessHost headlessHost = {};

namespace {

int64_t  virtualCounter() { return static_cast<int64_t>(headlessHost.pass * gameFrameMs); }
int64_t  virtualFrequency() { return 1000; }
uint32_t virtualTimer() { return static_cast<uint32_t>(headlessHost.pass * gameFrameMs); }
void     noSleep(double) {}
void     noSleepUntil(int64_t) {}

int64_t virtualCalendar() { return readScriptCalendar(&headlessHost.calendar, headlessHost.pass); }

} // namespace

void installVirtualClock(uint32_t calendarStart)
{
    headlessHost.pass            = 0;
    headlessHost.calendar        = ScriptCalendar{nullptr, 0, calendarStart};
    clockSource.counterNow       = virtualCounter;
    clockSource.counterFrequency = virtualFrequency;
    clockSource.millisecondTimer = virtualTimer;
    clockSource.sleepUntil       = noSleepUntil;
    clockSource.sleepMs          = noSleep;
    clockSource.wakeMarginMs     = 0.0;
    clockSource.realTime         = false;
    hostServices.calendarSeconds = virtualCalendar;
}
