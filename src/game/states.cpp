// One frame of the game: input, the current state's work, collisions, the high
// score, the fade, and the pacing wait.
//
// Inputs:  keys (set between frames by the host's event handling), the clock.
// State:   the game data; gameState chooses the work of step 3.
// Outputs: one presented picture (except in Loading's fall-through and
//          Quitting), sounds, and quitRequested when the game ends.
#include "game/enemy_logic.h"
#include "game/frame.h"
#include "game/game_data.h"
#include "game/high_score.h"
#include "game/intro_title.h"
#include "game/play_screen.h"
#include "game/shots.h"
#include "game/tally.h"
#include "sound/sound.h"
#include "system/frame_clock.h"
#include "system/input.h"
#include "system/services.h"

namespace {

constexpr double fadeStep       = 0.005;
constexpr double introSkipDepth = -20.0;
constexpr int    firingGateY    = 150;

bool down(int key) { return keys[key] == 1; }

void introInput()
{
    for (int key = 0; key < 256; ++key) {
        if (down(key)) {
            introApproaching = false;
            introDepth       = introSkipDepth;
            return;
        }
    }
}

void titleInput()
{
    if (down(VK_SPACE)) {
        stateAfterFade = WaveStart;
        fading         = true;
    } else if (down(VK_ESCAPE) && !fading) {
        stateAfterFade = Quitting;
        fading         = true;
    }
}

bool firingAllowed()
{
    for (int i = 1; i <= playerShotSlots; ++i)
        if (playerShots[i].active && playerShots[i].y < firingGateY)
            return false;
    return true;
}

void playInput()
{
    if (!ship.active)
        return;
    if (!paused) {
        const bool left  = down(VK_LEFT);
        const bool right = down(VK_RIGHT);
        if (left && !right)
            shipCommand = -1;
        else if (right && !left)
            shipCommand = 1;
        else
            shipCommand = 0;

        if (down(VK_SPACE) && firingAllowed())
            ship.fire();

        if (down(VK_ESCAPE) && !waveCleared) {
            shipCommand     = 0;
            keys[VK_ESCAPE] = 0;
            paused          = true;
        }
    } else {
        if (down(VK_ESCAPE)) {
            keys[VK_ESCAPE] = 0;
            stateAfterFade  = Title;
            fading          = true;
        } else if (down(VK_SPACE) && !fading) {
            paused         = false;
            keys[VK_SPACE] = 0;
        }
    }
}

void loadingWork()
{
    resetGame();
    startFrameClock();
    highScore = loadHighScore();
    startSound();
    loadSoundEffects();
    gameState = Intro;
}

void playingWork()
{
    playFrame();
    if (waveCleared)
        waveTally();
    if (gameOver)
        gameOverTick();
    hostServices.swapBuffers();
}

// The state work dispatches once, on the state at the start of the step:
// Loading falls through into Intro and WaveStart into Playing; any other
// change of gameState takes effect in the next frame.
void stateWork()
{
    switch (gameState) {
    case Loading:
        loadingWork();
        introFrame();
        break;
    case Intro: introFrame(); break;
    case Title:
        titleFrame();
        paused = false;
        hostServices.swapBuffers();
        break;
    case WaveStart:
        ship.place(341, 381, 1);
        shipCommand = 2;
        gameState   = Playing;
        playingWork();
        break;
    case Playing: playingWork(); break;
    case Quitting:
        quitRequested = true;
        saveHighScore();
        break;
    }
}

void fadeStepWork()
{
    if (!fading)
        return;
    brightness -= fadeStep;
    if (brightness <= 0.0) {
        brightness = 1.0;
        fading     = false;
        gameState  = stateAfterFade;
        if (gameState == Title)
            resetGame();
    }
}

} // namespace

void handleInput()
{
    switch (gameState) {
    case Intro: introInput(); break;
    case Title: titleInput(); break;
    case Playing: playInput(); break;
    case Loading:
    case WaveStart:
    case Quitting: break;
    }
}

void runFrame()
{
    frameStart = static_cast<float>(readFrameClock());
    handleInput();
    stateWork();
    checkCollisions();
    if (score > highScore)
        highScore = score;
    fadeStepWork();
    waitForFrameEnd();
}
