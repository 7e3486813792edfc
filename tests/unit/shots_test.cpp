// Shots: flight and leaving the field, the enemies' hit square, and the
// collision pass with its tie-breaks.
#include "game_fixture.h"

#include "game/shots.h"

namespace {

using Shots = GameFixture;

TEST_F(Shots, PlayerShotIsSeenIn106FramesAndFreedAt474)
{
    playerShotAt(1, 300, 50);
    int frames = 0;
    int lastY  = 0;
    while (playerShots[1].active && frames < 200) {
        lastY = playerShots[1].y;
        updatePlayerShots();
        ++frames;
    }
    EXPECT_EQ(frames, 106);
    EXPECT_EQ(lastY, 470);
    EXPECT_EQ(playerShots[1].y, 0) << "a free player slot holds y 0";
    EXPECT_TRUE(!playerShots[2].active && playerShots[2].y == 0) << "idle slot untouched";
}

TEST_F(Shots, EnemyShotAtZeroStaysInFlightBelowZeroLeaves)
{
    enemyShots[4]      = {3, true, 200, 3};
    enemyShotsInFlight = 1;
    updateEnemyShots();
    EXPECT_TRUE(enemyShots[4].active);
    EXPECT_EQ(enemyShots[4].y, 0);
    EXPECT_EQ(enemyShotsInFlight, 1);
    updateEnemyShots();
    EXPECT_FALSE(enemyShots[4].active);
    EXPECT_EQ(enemyShots[4].y, 0);
    EXPECT_EQ(enemyShotsInFlight, 0);
}

TEST_F(Shots, NothingMovesWhilePaused)
{
    playerShotAt(2, 300, 470);
    enemyShots[1]      = {2, true, 200, 0};
    enemyShotsInFlight = 1;
    paused             = true;
    updatePlayerShots();
    updateEnemyShots();
    EXPECT_TRUE(playerShots[2].active);
    EXPECT_EQ(playerShots[2].y, 470);
    EXPECT_TRUE(enemyShots[1].active);
    EXPECT_EQ(enemyShots[1].y, 0);
}

TEST_F(Shots, EnemyHitSquareReachesSixteenNotSeventeen)
{
    Enemy enemy{};
    enemy.x                = 300;
    enemy.y                = 400;
    const int offsets[][2] = {{16, 0}, {-16, 0}, {0, 16}, {0, -16}, {16, 16}, {-16, -16}};
    for (const auto& o : offsets) {
        playerShotAt(1, 300 + o[0], 400 + o[1]);
        EXPECT_TRUE(hitByPlayerShot(enemy)) << o[0] << "," << o[1];
        EXPECT_FALSE(playerShots[1].active) << "the shot that hits is freed";
        EXPECT_EQ(playerShots[1].y, 0);
    }
    const int misses[][2] = {{17, 0}, {-17, 0}, {0, 17}, {0, -17}, {17, 16}};
    for (const auto& o : misses) {
        playerShotAt(1, 300 + o[0], 400 + o[1]);
        EXPECT_FALSE(hitByPlayerShot(enemy)) << o[0] << "," << o[1];
        EXPECT_TRUE(playerShots[1].active);
    }
}

TEST_F(Shots, LowerEnemySlotTakesAShotWithinReachOfTwo)
{
    wave          = 3;
    Enemy& first  = aliveEnemyAt(2, 300, 400);
    Enemy& second = aliveEnemyAt(6, 310, 400);
    playerShotAt(1, 305, 395);
    checkCollisions();
    EXPECT_FALSE(first.alive);
    EXPECT_TRUE(first.exploding);
    EXPECT_TRUE(second.alive);
    EXPECT_FALSE(second.exploding);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(score, 15);
    EXPECT_EQ(enemiesOnScreen, 1);
    EXPECT_EQ(enemiesRemaining, 9);
    ASSERT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(soundCalls[0].channel, 3);
    EXPECT_EQ(soundCalls[0].fileName, "EExplode.wav");
}

TEST_F(Shots, BothShotsOnOneEnemyUseUpSlotOne)
{
    Enemy& enemy = aliveEnemyAt(1, 300, 400);
    playerShotAt(1, 300, 390);
    playerShotAt(2, 301, 394);
    checkCollisions();
    EXPECT_FALSE(enemy.alive);
    EXPECT_FALSE(playerShots[1].active);
    EXPECT_TRUE(playerShots[2].active);
    EXPECT_EQ(playerShots[2].y, 394);

    // An exploding enemy takes no more shots.
    checkCollisions();
    EXPECT_TRUE(playerShots[2].active);
    EXPECT_EQ(hits, 1);
}

TEST_F(Shots, EnemyDiesBeforeTheShipIsHitInOnePass)
{
    shipInPlay();
    Enemy& enemy = aliveEnemyAt(4, 400, 390);
    playerShotAt(2, 395, 380);
    enemyShots[9]      = {2, true, ship.x + 24, 20};
    enemyShots[2]      = {2, true, 600, 300};
    enemyShotsInFlight = 2;
    checkCollisions();
    EXPECT_FALSE(enemy.alive);
    EXPECT_TRUE(ship.exploding);
    EXPECT_EQ(enemyShotsInFlight, 0);
    EXPECT_FALSE(enemyShots[2].active) << "far shots vanish too";
    ASSERT_EQ(soundCalls.size(), 2u);
    EXPECT_EQ(soundCalls[0].fileName, "EExplode.wav");
    EXPECT_EQ(soundCalls[1].fileName, "PExplode.wav");
}

TEST_F(Shots, OnlyTheUsedEnemySlotsAreTested)
{
    Enemy& unused = enemies[11];
    unused.alive  = true;
    unused.x      = 300;
    unused.y      = 400;
    playerShotAt(1, 300, 400);
    checkCollisions();
    EXPECT_TRUE(unused.alive);
    EXPECT_TRUE(playerShots[1].active);
}

} // namespace
