// SDL keyboard events become the game's virtual-key codes.
#include "host/sdl/sdl_host.h"
#include "system/input.h"

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

SDL_Event keyEvent(Uint32 type, SDL_Keycode sym, Uint16 mod = KMOD_NONE)
{
    SDL_Event event      = {};
    event.type           = type;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    return event;
}

int codeOf(SDL_Keycode sym)
{
    InputEvent input{};
    EXPECT_TRUE(translateSdlEvent(keyEvent(SDL_KEYDOWN, sym), &input));
    EXPECT_EQ(input.type, InputEventType::KeyDown);
    return input.key;
}

TEST(SdlEvents, KeysMapToVirtualKeyCodes)
{
    EXPECT_EQ(codeOf(SDLK_SPACE), VK_SPACE);
    EXPECT_EQ(codeOf(SDLK_ESCAPE), VK_ESCAPE);
    EXPECT_EQ(codeOf(SDLK_LEFT), VK_LEFT);
    EXPECT_EQ(codeOf(SDLK_RIGHT), VK_RIGHT);
    EXPECT_EQ(codeOf(SDLK_a), 0x41);
    EXPECT_EQ(codeOf(SDLK_z), 0x5A);
    EXPECT_EQ(codeOf(SDLK_0), 0x30);
    EXPECT_EQ(codeOf(SDLK_9), 0x39);
    EXPECT_EQ(codeOf(SDLK_F1), 0x70);
    // Every other key gets the one code that none of the game's keys use, so
    // it skips the intro and does nothing else.
    EXPECT_EQ(codeOf(SDLK_VOLUMEUP), otherKeyCode);
}

TEST(SdlEvents, UpClearsAndQuitRequests)
{
    std::memset(keys, 0, sizeof keys);
    InputEvent input{};
    ASSERT_TRUE(translateSdlEvent(keyEvent(SDL_KEYDOWN, SDLK_SPACE), &input));
    applyInputEvent(input);
    EXPECT_EQ(keys[VK_SPACE], 1);
    ASSERT_TRUE(translateSdlEvent(keyEvent(SDL_KEYUP, SDLK_SPACE), &input));
    applyInputEvent(input);
    EXPECT_EQ(keys[VK_SPACE], 0);

    SDL_Event quit = {};
    quit.type      = SDL_QUIT;
    ASSERT_TRUE(translateSdlEvent(quit, &input));
    EXPECT_EQ(input.type, InputEventType::Quit);
    applyInputEvent(input);
    EXPECT_TRUE(quitRequested);
    quitRequested = false;
}

TEST(SdlEvents, AltCombinationsAndF10AreNotRecorded)
{
    InputEvent input{};
    EXPECT_FALSE(translateSdlEvent(keyEvent(SDL_KEYDOWN, SDLK_SPACE, KMOD_LALT), &input));
    EXPECT_FALSE(translateSdlEvent(keyEvent(SDL_KEYDOWN, SDLK_LALT), &input));
    EXPECT_FALSE(translateSdlEvent(keyEvent(SDL_KEYDOWN, SDLK_F10), &input));
    SDL_Event motion = {};
    motion.type      = SDL_MOUSEMOTION;
    EXPECT_FALSE(translateSdlEvent(motion, &input));
}

TEST(SdlEvents, AltF4WithoutWindowManagerBecomesACloseRequest)
{
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0);
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    InputEvent input{};
    EXPECT_FALSE(translateSdlEvent(keyEvent(SDL_KEYDOWN, SDLK_F4, KMOD_LALT), &input));
    SDL_Event queued = {};
    ASSERT_EQ(SDL_PeepEvents(&queued, 1, SDL_GETEVENT, SDL_QUIT, SDL_QUIT), 1);
    EXPECT_EQ(queued.type, SDL_QUIT);
    SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

} // namespace
