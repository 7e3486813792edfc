// The player's ship: entry sequence timing, movement limits, firing, the hit
// tent and the explosion with its end.
#include "game_fixture.h"

#include "game/frame.h"
#include "gfx/gl.h"

namespace {

class Ship : public GameFixture {
  protected:
    void SetUp() override
    {
        GameFixture::SetUp();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    // Runs the ship's explosion frame by frame until it ends; frames drawn.
    int framesUntilExplosionEnds()
    {
        int frames = 0;
        while (ship.exploding && frames < 1000) {
            ship.update(shipCommand);
            ++frames;
        }
        return frames;
    }
};

TEST_F(Ship, EntryFromWaveStartTakes281FramesInThreePhases)
{
    gameState          = WaveStart;
    int phaseFrames[4] = {};
    int lastShrinkX    = 0;
    int frame          = 0;
    while (!ship.active && frame < 400) {
        // The phase in which this frame's drawing happens.
        const int phase = gameState == WaveStart ? 1 : ship.entryPhase;
        if (phase == 2)
            lastShrinkX = ship.x;
        runFrame();
        ++frame;
        ++phaseFrames[phase];
        if (frame == 1) {
            EXPECT_EQ(ship.x, 341);
            EXPECT_EQ(ship.y, 379) << "drawn at 381, then lowered";
        }
    }
    EXPECT_EQ(frame, 281);
    EXPECT_EQ(phaseFrames[1], 166);
    EXPECT_EQ(phaseFrames[2], 25);
    EXPECT_EQ(phaseFrames[3], 90);
    EXPECT_EQ(lastShrinkX, 365) << "the shrink's last drawing stands at x 365";
    EXPECT_EQ(ship.x, 366);
    EXPECT_EQ(ship.y, 0);
    EXPECT_EQ(ship.angle, 0);
    EXPECT_EQ(ship.entryPhase, 0);
    EXPECT_EQ(shipCommand, 0);
    EXPECT_FALSE(waveBanner);
    EXPECT_EQ(gameState, Playing);
}

TEST_F(Ship, MovesInStepsOfTwoWithinTheField)
{
    shipInPlay();
    ship.update(-1);
    EXPECT_EQ(ship.x, 364);
    ship.update(1);
    ship.update(1);
    EXPECT_EQ(ship.x, 368);
    ship.update(0);
    EXPECT_EQ(ship.x, 368);

    ship.x = 142;
    ship.update(-1);
    EXPECT_EQ(ship.x, 140);
    ship.update(-1);
    EXPECT_EQ(ship.x, 140) << "left stops at 140";

    ship.x = 590;
    ship.update(1);
    EXPECT_EQ(ship.x, 592);
    ship.update(1);
    EXPECT_EQ(ship.x, 592) << "right stops at 592";

    paused = true;
    ship.update(-1);
    EXPECT_EQ(ship.x, 592) << "nothing moves while paused";

    // While paused the entry sequence does not advance either.
    ship.active = false;
    ship.place(341, 381, 1);
    ship.update(2);
    EXPECT_EQ(ship.y, 381);
    EXPECT_EQ(ship.entryPhase, 1);
}

TEST_F(Ship, ColourIsOpaqueWhiteAfterDrawingInPlay)
{
    shipInPlay();
    brightness = 0.5;
    glColor3d(0.5, 0.5, 0.5);
    playerShots[1].active = true;
    playerShots[1].y      = 54;
    ship.draw();
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
    EXPECT_FLOAT_EQ(colour[2], 1.0f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);

    // With the wave banner the colour ends blue.
    waveBanner = true;
    ship.draw();
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.0f);
    EXPECT_FLOAT_EQ(colour[1], 0.0f);
    EXPECT_FLOAT_EQ(colour[2], 1.0f);
}

TEST_F(Ship, FireTakesTheFirstFreeSlotAndCountsOutsideTheTally)
{
    shipInPlay();
    ship.x                = 200;
    playerShots[1].active = true;
    playerShots[1].y      = 300;
    ship.fire();
    EXPECT_TRUE(playerShots[2].active);
    EXPECT_EQ(playerShots[2].x, 224);
    EXPECT_EQ(playerShots[2].y, 50);
    EXPECT_EQ(playerShots[2].speed, 4);
    EXPECT_EQ(shotsFired, 1);
    ASSERT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(soundCalls[0].channel, 2);
    EXPECT_EQ(soundCalls[0].fileName, "PlayerShot.wav");

    // Both slots busy: nothing, not even a sound.
    ship.fire();
    EXPECT_EQ(shotsFired, 1);
    EXPECT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(playerShots[1].y, 300);

    // Slot 1 free again: it is taken first.
    playerShots[1].active = false;
    playerShots[1].y      = 0;
    waveCleared           = true;
    ship.fire();
    EXPECT_TRUE(playerShots[1].active);
    EXPECT_EQ(playerShots[1].y, 50);
    EXPECT_EQ(shotsFired, 1) << "shots during the tally are not counted";
    EXPECT_EQ(soundCalls.size(), 2u);
}

TEST_F(Ship, HeldSpaceFiresAgainOnceTheShotIsAt150)
{
    shipInPlay();
    gameState      = Playing;
    keys[VK_SPACE] = 1;
    std::vector<int> firedAt;
    for (int frame = 1; frame <= 60; ++frame) {
        const int before = shotsFired;
        runFrame();
        if (shotsFired != before)
            firedAt.push_back(frame);
    }
    // The first shot is drawn at 50 and stands at 150 after 25 moves, which
    // the input step of frame 26 sees.
    ASSERT_GE(firedAt.size(), 2u);
    EXPECT_EQ(firedAt[0], 1);
    EXPECT_EQ(firedAt[1], 26);
}

TEST_F(Ship, HitTentBorders)
{
    shipInPlay();
    ship.x           = 300;
    const int middle = 324;

    enemyShotAt(5, 300, 0);
    EXPECT_FALSE(ship.hitByEnemyShot()) << "left edge column never hits";
    enemyShotAt(5, 349, 0);
    EXPECT_FALSE(ship.hitByEnemyShot()) << "right edge column never hits";

    enemyShotAt(5, middle, 44);
    EXPECT_TRUE(ship.hitByEnemyShot());
    enemyShotAt(5, middle, 45);
    EXPECT_FALSE(ship.hitByEnemyShot());

    enemyShotAt(5, 301, 21);
    EXPECT_TRUE(ship.hitByEnemyShot());
    enemyShotAt(5, 301, 22);
    EXPECT_FALSE(ship.hitByEnemyShot()) << "22 high at x + 1";

    enemyShotAt(5, 348, 20);
    EXPECT_TRUE(ship.hitByEnemyShot());
    enemyShotAt(5, 348, 21);
    EXPECT_FALSE(ship.hitByEnemyShot()) << "21 high at x + 48";

    enemyShotAt(5, middle, 0);
    enemyShots[5].active = false;
    EXPECT_FALSE(ship.hitByEnemyShot()) << "a shot not in flight never hits";

    // Any slot can hit, not only the first.
    enemyShotAt(10, middle + 10, 34);
    EXPECT_TRUE(ship.hitByEnemyShot());
}

TEST_F(Ship, ExplodeClearsEnemyShotsAndStartsTheExplosion)
{
    shipInPlay();
    ship.x      = 250;
    shipCommand = 1;
    enemyShotAt(1, 274, 10);
    enemyShotAt(7, 500, 300);
    enemyShotsInFlight = 2;
    ship.explode();
    EXPECT_EQ(enemyShotsInFlight, 0);
    for (int i = 1; i <= enemyShotSlots; ++i) {
        EXPECT_FALSE(enemyShots[i].active);
        EXPECT_EQ(enemyShots[i].y, 480);
    }
    EXPECT_FALSE(ship.active);
    EXPECT_TRUE(ship.exploding);
    EXPECT_EQ(shipCommand, 0);
    EXPECT_EQ(ship.explosionFrame, 1);
    EXPECT_EQ(ship.explosionTick, 0);
    EXPECT_EQ(ship.explosionBrightness, 1.0);
    EXPECT_EQ(ship.x, 250) << "the ship stays where it was hit";
    ASSERT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(soundCalls[0].channel, 2);
    EXPECT_EQ(soundCalls[0].fileName, "PExplode.wav");
}

TEST_F(Ship, ExplosionLasts145FramesAndCostsALifeAtItsEnd)
{
    shipInPlay();
    gameState = Playing;
    ship.explode();
    for (int frame = 1; frame <= 144; ++frame) {
        ship.update(shipCommand);
        ASSERT_TRUE(ship.exploding) << frame;
        ASSERT_EQ(lives, 4) << frame;
        const int picture = frame < 15 ? 1 : frame < 30 ? 2 : frame < 45 ? 3 : 4;
        ASSERT_EQ(ship.explosionFrame, picture) << frame;
    }
    EXPECT_NEAR(ship.explosionBrightness, 0.01, 1e-9);
    ship.update(shipCommand);
    EXPECT_FALSE(ship.exploding);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(gameState, WaveStart);
    EXPECT_FALSE(gameOver);
    EXPECT_FALSE(waveBanner) << "a new ship after a loss enters without the banner";
}

TEST_F(Ship, LastExplosionEndsTheGame)
{
    shipInPlay();
    gameState             = Playing;
    lives                 = 1;
    screenTimer           = 77;
    playerShots[2].active = true;
    playerShots[2].x      = 390;
    playerShots[2].y      = 200;
    ship.explode();
    EXPECT_EQ(framesUntilExplosionEnds(), 145);
    EXPECT_EQ(lives, 0);
    EXPECT_TRUE(gameOver);
    EXPECT_EQ(gameState, Playing);
    EXPECT_EQ(ship.x, -50);
    EXPECT_EQ(ship.y, 0);
    EXPECT_EQ(ship.entryPhase, 0);
    EXPECT_EQ(screenTimer, 0);
    for (int i = 1; i <= playerShotSlots; ++i) {
        EXPECT_FALSE(playerShots[i].active);
        EXPECT_EQ(playerShots[i].y, 0);
    }
}

TEST_F(Ship, HitInTheCollisionPassOnlyWhileInPlay)
{
    shipInPlay();
    gameState = Playing;
    enemyShotAt(3, ship.x + 24, 10);
    enemyShotsInFlight = 1;
    ship.active        = false;
    runFrame();
    EXPECT_FALSE(ship.exploding) << "a ship not in play cannot be hit";

    shipInPlay();
    enemyShotAt(3, ship.x + 24, 10);
    enemyShotsInFlight = 1;
    runFrame();
    EXPECT_TRUE(ship.exploding);
    EXPECT_FALSE(ship.active);
}

} // namespace
