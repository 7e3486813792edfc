// A gamepad, attached as SDL's virtual joystick, reaches `keys` as the
// keyboard does: one key event per pass, by the same virtual-key codes.
#include "host/sdl/gamepad.h"
#include "host/sdl/sdl_host.h"
#include "system/input.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

constexpr int otherButtonCode = 0xFF;

// One virtual pad with every button and axis of a game controller.
struct VirtualPad {
    int           deviceIndex = -1;
    SDL_Joystick* joystick    = nullptr;

    bool attach()
    {
        SDL_VirtualJoystickDesc desc = {};
        desc.version                 = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type                    = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes                   = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons                = SDL_CONTROLLER_BUTTON_MAX;
        desc.button_mask             = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask               = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name                    = "Swarm test pad";
        deviceIndex                  = SDL_JoystickAttachVirtualEx(&desc);
        if (deviceIndex < 0)
            return false;
        // The test's own handle sets the virtual inputs; the game opens the
        // pad as a controller when it hears of it.
        joystick = SDL_JoystickOpen(deviceIndex);
        return joystick != nullptr;
    }

    void detach()
    {
        if (!joystick)
            return;
        const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
        SDL_JoystickClose(joystick);
        joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id)
                SDL_JoystickDetachVirtual(i);
    }

    void button(SDL_GameControllerButton b, bool down)
    {
        SDL_JoystickSetVirtualButton(joystick, b, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void stick(Sint16 x) { SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, x); }
};

// The codes down in `keys`, as text, for readable failures: "20 25".
std::string down()
{
    std::string text;
    char        code[8];
    for (int k = 0; k < 256; ++k)
        if (keys[k]) {
            std::snprintf(code, sizeof code, "%s%02X", text.empty() ? "" : " ", k);
            text += code;
        }
    return text;
}

void passes(int n)
{
    for (int i = 0; i < n; ++i)
        handleOneSdlEvent();
}

class Gamepad : public ::testing::Test {
  protected:
    void SetUp() override
    {
        std::memset(keys, 0, sizeof keys);
        // The offscreen window never has the focus, and SDL hears pads only
        // in a window that has it unless told otherwise.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        filterSdlEvents();
        startGamepads();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        ASSERT_TRUE(pad.attach()) << SDL_GetError();
        passes(10); // the game hears of the pad and opens it
    }

    void TearDown() override
    {
        pad.detach();
        second.detach();
        passes(10);
        stopGamepads();
        std::memset(keys, 0, sizeof keys);
    }

    VirtualPad pad, second;
};

TEST_F(Gamepad, EachButtonAndStickDirectionIsTheRightKey)
{
    struct {
        SDL_GameControllerButton button;
        int                      code;
    } const cases[] = {
        {SDL_CONTROLLER_BUTTON_A, VK_SPACE},
        {SDL_CONTROLLER_BUTTON_START, VK_ESCAPE},
        {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
        {SDL_CONTROLLER_BUTTON_B, otherButtonCode},
        {SDL_CONTROLLER_BUTTON_Y, otherButtonCode},
        {SDL_CONTROLLER_BUTTON_BACK, otherButtonCode},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, otherButtonCode},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, otherButtonCode},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(SDL_GameControllerGetStringForButton(c.button));
        pad.button(c.button, true);
        passes(1);
        EXPECT_EQ(down(), (std::string() + "0123456789ABCDEF"[c.code >> 4] +
                           "0123456789ABCDEF"[c.code & 15]));
        pad.button(c.button, false);
        passes(1);
        EXPECT_EQ(down(), "");
    }

    // The left stick: beyond 30 % of its travel, Left or Right.
    pad.stick(-32768);
    passes(1);
    EXPECT_EQ(down(), "25");
    pad.stick(0);
    passes(1);
    EXPECT_EQ(down(), "");
    pad.stick(9000); // 27 %: inside the dead zone
    passes(3);
    EXPECT_EQ(down(), "");
    pad.stick(12000);
    passes(1);
    EXPECT_EQ(down(), "27");
    pad.stick(9000); // held until it comes back within 25 %
    passes(3);
    EXPECT_EQ(down(), "27");
    pad.stick(5000);
    passes(1);
    EXPECT_EQ(down(), "");
}

TEST_F(Gamepad, OneKeyEventPerPass)
{
    // Two buttons pressed between two passes: one reaches `keys` per pass.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    passes(1);
    EXPECT_EQ(down(), "20");
    passes(1);
    EXPECT_EQ(down(), "1B 20");

    // The stick from full left to full right in one move: Left goes up in
    // one pass, Right down in the next.
    pad.stick(-32768);
    passes(1);
    EXPECT_EQ(down(), "1B 20 25");
    pad.stick(32767);
    passes(1);
    EXPECT_EQ(down(), "1B 20");
    passes(1);
    EXPECT_EQ(down(), "1B 20 27");

    // A key and a pad button together: the pad and the keyboard share the
    // queue, one event per pass.
    pad.stick(0);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    passes(3);
    ASSERT_EQ(down(), "");
    SDL_Event key      = {};
    key.type           = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_LEFT;
    SDL_PushEvent(&key);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    passes(1);
    const std::string first = down();
    EXPECT_TRUE(first == "25" || first == "20") << first;
    passes(1);
    EXPECT_EQ(down(), "20 25");
}

TEST_F(Gamepad, InputsOfTheSameKeyAreHeldTogether)
{
    // D-pad and stick both give Left: Left is up only when both let go.
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    pad.stick(-32768);
    passes(3);
    EXPECT_EQ(down(), "25");
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    passes(3);
    EXPECT_EQ(down(), "25");
    pad.stick(0);
    passes(1);
    EXPECT_EQ(down(), "");

    // Two other buttons: the "other" key is up when the last one is.
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    pad.button(SDL_CONTROLLER_BUTTON_X, true);
    passes(3);
    EXPECT_EQ(down(), "FF");
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    passes(3);
    EXPECT_EQ(down(), "FF");
    pad.button(SDL_CONTROLLER_BUTTON_X, false);
    passes(1);
    EXPECT_EQ(down(), "");
}

TEST_F(Gamepad, PadsComeAndGoWhileTheGameRuns)
{
    // A second pad plugged in works at once.
    ASSERT_TRUE(second.attach()) << SDL_GetError();
    passes(3);
    second.button(SDL_CONTROLLER_BUTTON_A, true);
    passes(1);
    EXPECT_EQ(down(), "20");

    // The first pad holds Space too, and Right; removed, it lets go of Right,
    // while Space stays down for the second pad.
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pad.button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    passes(3);
    EXPECT_EQ(down(), "20 27");
    pad.detach();
    passes(1);
    EXPECT_EQ(down(), "20");

    // The second pad removed while held: its keys go up, one per pass.
    second.button(SDL_CONTROLLER_BUTTON_START, true);
    passes(3);
    EXPECT_EQ(down(), "1B 20");
    second.detach();
    passes(1);
    EXPECT_EQ(down(), "1B");
    passes(1);
    EXPECT_EQ(down(), "");

    // Plugged in again, a pad works again.
    ASSERT_TRUE(pad.attach()) << SDL_GetError();
    passes(3);
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    passes(1);
    EXPECT_EQ(down(), "1B");
}

TEST_F(Gamepad, LosingTheFocusReleasesEveryKeyHeld)
{
    SDL_Event key      = {};
    key.type           = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_RIGHT;
    SDL_PushEvent(&key);
    key.key.keysym.sym = SDLK_a;
    SDL_PushEvent(&key);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    passes(5);
    ASSERT_EQ(down(), "20 27 41");

    SDL_Event focus    = {};
    focus.type         = SDL_WINDOWEVENT;
    focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    SDL_PushEvent(&focus);
    passes(1);
    EXPECT_EQ(down(), "");

    // The pad's release of the button it held before, when it comes, makes no
    // key event: Space pressed on the keyboard meanwhile stays down.
    key.key.keysym.sym = SDLK_SPACE;
    SDL_PushEvent(&key);
    passes(1);
    ASSERT_EQ(down(), "20");
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    passes(3);
    EXPECT_EQ(down(), "20");
    // A new press of the pad works.
    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    passes(1);
    EXPECT_EQ(down(), "1B 20");
}

} // namespace
