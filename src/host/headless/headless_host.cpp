// The whole headless host, as the replay tool and the tests install it.
#include "host/headless/headless_host.h"

void installHeadlessHost(uint32_t calendarStart)
{
    headlessHost = HeadlessHost{};
    installVirtualClock(calendarStart);
    installCapturingSwap();
    installSoundRecorder();
}
