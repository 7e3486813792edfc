// Default host services: no window to present to, the real calendar.
#include "system/services.h"

#include <ctime>

namespace {

void noSwap() {}

int64_t timeNow() { return static_cast<int64_t>(std::time(nullptr)); }

} // namespace

HostServices hostServices = {noSwap, timeNow};
