// The page's keys and pads, from the tables every host shares.
#include "host/web/page/input_tables.h"

#include "host/key_table.h"
#include "host/pad_table.h"

#include <emscripten/emscripten.h>

// clang-format off
EM_JS(void, pageKeyCode, (const char* code, int key), { swarmPage.keyCode(UTF8ToString(code), key); });
EM_JS(void, pageOtherKey, (int key), { swarmPage.otherKey(key); });
EM_JS(void, pagePadKey, (int bit, int key), { swarmPage.padKey(bit, key); });
EM_JS(void, pagePadButton, (int index, unsigned held), { swarmPage.padButton(index, held); });
EM_JS(void, pagePadStick, (int pressPercent, int releasePercent, unsigned left, unsigned right,
                           unsigned other), {
    swarmPage.padStick(pressPercent / 100, releasePercent / 100, left, right, other);
});
// clang-format on

void handInputTablesToPage()
{
#define PAGE_KEY(sdl, code, key) pageKeyCode(code, key);
    HOST_KEYS(PAGE_KEY)
#undef PAGE_KEY
    pageOtherKey(otherKeyCode);
    for (int bit = 0; bit < padKeyCount; ++bit)
        pagePadKey(bit, padKeyCode[bit]);
#define PAGE_PAD_BUTTON(sdl, standard, held) pagePadButton(standard, held);
    HOST_PAD_BUTTONS(PAGE_PAD_BUTTON)
#undef PAGE_PAD_BUTTON
    pagePadStick(stickPressPercent, stickReleasePercent, PadLeft, PadRight, PadOther);
}
