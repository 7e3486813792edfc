// A fixture that puts the game data into a known state for each test: a fresh
// game on the headless host at a fixed calendar time, the five sounds loaded
// into its recording backend, no keys down, no fade, frames not paced.
#pragma once
#include "game/game_data.h"
#include "host/headless/headless_host.h"
#include "process.h"
#include "sound/sound.h"
#include "system/clock_source.h"
#include "system/input.h"
#include "system/services.h"

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
        inDir         = std::make_unique<InDirectory>(workDir.path());
        savedServices = hostServices;
        savedClock    = clockSource;
        savedBackend  = soundBackend;
        freshGame();
    }

    // A new game on the title screen, as after program start and reset.
    void freshGame()
    {
        stopSound();
        installHeadlessHost(1234567);
        startSound();
        loadSoundEffects();
        std::memset(keys, 0, sizeof keys);
        quitRequested = false;
        restoreGameData();
        gameState = Title;
        highScore = 10000;
        resetGame();
    }

    void TearDown() override
    {
        stopSound();
        loadSoundEffects(); // with no sound running: every handle back to silent
        hostServices = savedServices;
        clockSource  = savedClock;
        soundBackend = savedBackend;
        headlessHost.soundCalls.clear();
        std::memset(keys, 0, sizeof keys);
        quitRequested = false;
        inDir.reset();
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

    // Slot set-up: an enemy alive at (x, y) heading `direction`, counted on
    // screen; a player or enemy shot in flight at (x, y).
    Enemy& aliveEnemyAt(int slot, int x, int y, int direction = 0)
    {
        Enemy& enemy    = enemies[slot];
        enemy.alive     = true;
        enemy.x         = x;
        enemy.y         = y;
        enemy.direction = direction;
        ++enemiesOnScreen;
        return enemy;
    }

    void playerShotAt(int slot, int x, int y)
    {
        playerShots[slot].active = true;
        playerShots[slot].x      = x;
        playerShots[slot].y      = y;
    }

    void enemyShotAt(int slot, int x, int y)
    {
        enemyShots[slot].active = true;
        enemyShots[slot].x      = x;
        enemyShots[slot].y      = y;
    }

    // The sounds the game played since the test's fresh game.
    std::vector<SoundCall>& soundCalls = headlessHost.soundCalls;

    HostServices                 savedServices{};
    ClockSource                  savedClock{};
    const SoundBackend*          savedBackend = nullptr;
    TempDir                      workDir;
    std::unique_ptr<InDirectory> inDir;
};
