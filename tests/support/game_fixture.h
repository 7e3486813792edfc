// A fixture that puts the game data into a known state for each test: a fresh
// game at a fixed calendar time, no keys down, no fade, frames not paced.
#pragma once
#include "app/input.h"
#include "app/platform.h"
#include "game/game_data.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cstring>

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved                    = platform;
        platform.calendarSeconds = [] { return int64_t{1234567}; };
        platform.realTime        = false;
        platform.swapBuffers     = [] {};
        std::memset(keys, 0, sizeof keys);
        quitRequested  = false;
        gameState      = Title;
        stateAfterFade = Loading;
        fading         = false;
        brightness     = 1.0;
        paused         = false;
        highScore      = 10000;
        resetGame();
        recordSounds = true;
        soundCalls.clear();
    }

    void TearDown() override
    {
        platform     = saved;
        recordSounds = false;
        soundCalls.clear();
        std::memset(keys, 0, sizeof keys);
        quitRequested = false;
    }

    // Puts the ship in play as it is after its entry sequence.
    void shipInPlay()
    {
        gameState = Playing;
        ship.place(366, 0, 0);
        ship.active = true;
        shipCommand = 0;
        waveBanner  = false;
    }

    Platform saved{};
};
