// The stick's hysteresis and pad key changes as the game's key events.
#include "host/pad_keys.h"

namespace {

constexpr int stickPress   = 32767 * stickPressPercent / 100;
constexpr int stickRelease = 32767 * stickReleasePercent / 100;

} // namespace

int stickDirection(int value, int before)
{
    if (value <= -stickPress || (before < 0 && value < -stickRelease))
        return -1;
    if (value >= stickPress || (before > 0 && value > stickRelease))
        return 1;
    return 0;
}

int padKeyEvents(unsigned before, unsigned after, InputEvent* out)
{
    int n = 0;
    for (int i = 0; i < padKeyCount; ++i)
        if ((before & padKeys[i]) && !(after & padKeys[i]))
            out[n++] = {InputEventType::KeyUp, padKeyCode[i]};
    for (int i = 0; i < padKeyCount; ++i)
        if (!(before & padKeys[i]) && (after & padKeys[i]))
            out[n++] = {InputEventType::KeyDown, padKeyCode[i]};
    return n;
}
