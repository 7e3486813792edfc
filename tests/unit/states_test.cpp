// The frame's state machine: fades, the state table and the input rules.
#include "game_fixture.h"

#include "game/frame.h"
#include "game/random.h"

namespace {

class States : public GameFixture {};

TEST_F(States, FadeLastsTwoHundredFramesAndResetsOnlyIntoTitle)
{
    // A fade to Quitting: 199 frames keep the state, the 200th switches.
    stateAfterFade = Quitting;
    fading         = true;
    score          = 0;
    for (int frame = 1; frame <= 199; ++frame) {
        runFrame();
        ASSERT_EQ(gameState, Title) << "frame " << frame;
        ASSERT_TRUE(fading);
    }
    EXPECT_NEAR(brightness, 0.005, 1e-9);
    runFrame();
    EXPECT_EQ(gameState, Quitting);
    EXPECT_FALSE(fading);
    EXPECT_EQ(brightness, 1.0);

    // A fade into Title resets the game; a fade into WaveStart does not.
    freshGame();
    gameState      = Playing;
    paused         = true;
    score          = 35;
    lives          = 2;
    stateAfterFade = Title;
    fading         = true;
    brightness     = 0.004;
    ship.active    = false;
    runFrame();
    EXPECT_EQ(gameState, Title);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(lives, 4);
    EXPECT_TRUE(paused) << "the reset leaves paused; the title frame clears it";
    runFrame();
    EXPECT_FALSE(paused);

    freshGame();
    lives          = 2;
    stateAfterFade = WaveStart;
    fading         = true;
    brightness     = 0.004;
    runFrame();
    EXPECT_EQ(gameState, WaveStart);
    EXPECT_EQ(lives, 2);
}

TEST_F(States, TitleKeys)
{
    // Space and Escape together: the fade goes to WaveStart.
    keys[VK_SPACE]  = 1;
    keys[VK_ESCAPE] = 1;
    handleInput();
    EXPECT_TRUE(fading);
    EXPECT_EQ(stateAfterFade, WaveStart);
    EXPECT_EQ(keys[VK_SPACE], 1) << "the title clears no key";
    EXPECT_EQ(keys[VK_ESCAPE], 1);

    // Escape, then Space during the fade: the same fade now ends in WaveStart.
    freshGame();
    keys[VK_ESCAPE] = 1;
    for (int i = 0; i < 50; ++i)
        runFrame();
    EXPECT_EQ(stateAfterFade, Quitting);
    const double dimmed = brightness;
    keys[VK_ESCAPE]     = 0;
    keys[VK_SPACE]      = 1;
    runFrame();
    EXPECT_EQ(stateAfterFade, WaveStart);
    EXPECT_NEAR(brightness, dimmed - 0.005, 1e-12) << "the fade is not restarted";

    // Escape during a running fade to WaveStart changes nothing.
    keys[VK_SPACE]  = 0;
    keys[VK_ESCAPE] = 1;
    handleInput();
    EXPECT_EQ(stateAfterFade, WaveStart);
}

TEST_F(States, PauseAndResume)
{
    shipInPlay();
    shipCommand     = 1;
    keys[VK_ESCAPE] = 1;
    handleInput();
    EXPECT_TRUE(paused);
    EXPECT_EQ(shipCommand, 0);
    EXPECT_EQ(keys[VK_ESCAPE], 0) << "the pausing Escape is cleared";

    // The Escape that pauses does not also quit in the same step.
    EXPECT_FALSE(fading);

    // Space resumes and is cleared, so resuming does not fire.
    keys[VK_SPACE] = 1;
    handleInput();
    EXPECT_FALSE(paused);
    EXPECT_EQ(keys[VK_SPACE], 0);
    EXPECT_FALSE(playerShots[1].active);
    EXPECT_EQ(shotsFired, 0);

    // Space held again fires.
    keys[VK_SPACE] = 1;
    handleInput();
    EXPECT_TRUE(playerShots[1].active);
    EXPECT_EQ(shotsFired, 1);
}

TEST_F(States, PausedEscapeQuitsAndSpaceIsIgnoredWhileFading)
{
    shipInPlay();
    paused          = true;
    keys[VK_ESCAPE] = 1;
    handleInput();
    EXPECT_TRUE(fading);
    EXPECT_EQ(stateAfterFade, Title);
    EXPECT_EQ(keys[VK_ESCAPE], 0);

    keys[VK_SPACE] = 1;
    handleInput();
    EXPECT_TRUE(paused) << "Space while paused and fading does nothing";
    EXPECT_EQ(keys[VK_SPACE], 1);
}

TEST_F(States, EscapeIgnoredWhileShipNotInPlayOrTallyRuns)
{
    gameState       = Playing;
    ship.active     = false; // entry, explosion or game over
    shipCommand     = 2;
    keys[VK_ESCAPE] = 1;
    keys[VK_LEFT]   = 1;
    handleInput();
    EXPECT_FALSE(paused);
    EXPECT_EQ(shipCommand, 2);
    EXPECT_EQ(keys[VK_ESCAPE], 1);

    shipInPlay();
    waveCleared     = true;
    keys[VK_ESCAPE] = 1;
    keys[VK_LEFT]   = 0;
    handleInput();
    EXPECT_FALSE(paused);
    EXPECT_EQ(keys[VK_ESCAPE], 1) << "not cleared during the tally";
}

TEST_F(States, ArrowsAndFiringGate)
{
    shipInPlay();
    keys[VK_LEFT] = 1;
    handleInput();
    EXPECT_EQ(shipCommand, -1);
    keys[VK_RIGHT] = 1;
    handleInput();
    EXPECT_EQ(shipCommand, 0) << "both arrows stop the ship";
    keys[VK_LEFT] = 0;
    handleInput();
    EXPECT_EQ(shipCommand, 1);

    // A shot in flight below 150 blocks firing; at 150 it no longer does.
    keys[VK_SPACE]        = 1;
    playerShots[1].active = true;
    playerShots[1].y      = 149;
    handleInput();
    EXPECT_FALSE(playerShots[2].active);
    playerShots[1].y = 150;
    handleInput();
    EXPECT_TRUE(playerShots[2].active);
}

TEST_F(States, IntroAnyKeyCutsItShort)
{
    gameState        = Intro;
    keys[0x41]       = 1; // 'A'
    introApproaching = true;
    introDepth       = -80.0;
    handleInput();
    EXPECT_FALSE(introApproaching);
    EXPECT_EQ(introDepth, -20.0);
    EXPECT_EQ(keys[0x41], 1) << "the intro clears no key";
}

TEST_F(States, WaveStartPlacesShipAndPlaysInTheSameFrame)
{
    gameState = WaveStart;
    runFrame();
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(ship.x, 341);
    EXPECT_EQ(ship.entryPhase, 1) << "placed for the entry; the first descent step ran";
    EXPECT_EQ(shipCommand, 2);
}

TEST_F(States, HighScoreFollowsScoreAndQuittingEndsTheLoop)
{
    score     = 12345;
    highScore = 10000;
    runFrame();
    EXPECT_EQ(highScore, 12345);

    gameState = Quitting;
    runFrame();
    EXPECT_TRUE(quitRequested);
    EXPECT_FALSE(readFile("HighScore.dat").empty()) << "the Quitting frame saves";
}

TEST(Random, KnownSequenceForSeed)
{
    // The generator multiplies by 214013, adds 2531011 and returns bits 16..30.
    seedRandom(1);
    EXPECT_EQ(randomDraw(), 41);
    EXPECT_EQ(randomDraw(), 18467);
    EXPECT_EQ(randomDraw(), 6334);
    EXPECT_EQ(randomDraw(), 26500);
    seedRandom(0xFFFFFFFFu);
    const int32_t draw = randomDraw();
    EXPECT_EQ(randomState(), 0xFFFFFFFFu * 214013u + 2531011u);
    EXPECT_EQ(draw, static_cast<int32_t>((randomState() >> 16) & 0x7FFF));
}

TEST_F(States, ResetGameValues)
{
    score                = 99;
    gameOver             = true;
    lives                = 0;
    wave                 = 7;
    enemies[20].alive    = true;
    enemies[3].exploding = true;
    playerShots[2]       = {9, true, 100, 300};
    enemyShots[10]       = {5, true, 200, 17};
    waveBonus            = 700;
    ship.angle           = 42;
    resetGame();
    EXPECT_EQ(score, 0);
    EXPECT_FALSE(gameOver);
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(wave, 1);
    EXPECT_EQ(waveSize, 10);
    EXPECT_EQ(enemiesRemaining, 10);
    EXPECT_TRUE(waveBanner);
    EXPECT_EQ(shipCommand, 2);
    EXPECT_EQ(creditsX, 640);
    EXPECT_EQ(enemyFloor, 380);
    EXPECT_EQ(enemySpeed, 2);
    EXPECT_EQ(enemyShotSpeed, 2);
    EXPECT_EQ(enemySlots, 10);
    EXPECT_FALSE(enemies[20].alive);
    EXPECT_FALSE(enemies[3].exploding);
    EXPECT_EQ(enemies[3].speed, 2);
    EXPECT_EQ(enemies[3].explosionSize, 5);
    EXPECT_EQ(playerShots[2].speed, 4);
    EXPECT_FALSE(playerShots[2].active);
    EXPECT_EQ(playerShots[2].y, 0);
    EXPECT_EQ(playerShots[2].x, 100) << "x is kept";
    EXPECT_EQ(enemyShots[10].speed, 2);
    EXPECT_EQ(enemyShots[10].y, 480);
    EXPECT_EQ(waveBonus, 700) << "kept";
    EXPECT_EQ(ship.angle, 42) << "kept";
    EXPECT_EQ(ship.x, 141);
    EXPECT_EQ(highScore, 10000) << "kept";
    EXPECT_EQ(randomState(), 1234567u) << "seeded from the calendar time";
}

} // namespace
