// A fixture that puts the game data into a known state for each test: a fresh
// game at a fixed calendar time, no keys down, no fade, frames not paced.
#pragma once
#include "app/input.h"
#include "app/platform.h"
#include "game/game_data.h"
#include "process.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <unistd.h>

class GameFixture : public ::testing::Test {
  protected:
    void SetUp() override
    {
        // Each test runs in a fresh directory, so a saved HighScore.dat never
        // reaches another test.
        workDir = std::make_unique<TempDir>();
        char cwd[4096];
        oldDir = getcwd(cwd, sizeof cwd) ? cwd : ".";
        if (chdir(workDir->path().c_str()) != 0)
            FAIL() << "cannot enter " << workDir->path();
        saved = platform;
        freshGame();
    }

    // A new game on the title screen, as after program start and reset.
    void freshGame()
    {
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
        if (chdir(oldDir.c_str()) != 0)
            ADD_FAILURE() << "cannot return to " << oldDir;
        workDir.reset();
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

    Platform                 saved{};
    std::unique_ptr<TempDir> workDir;
    std::string              oldDir;
};
