// Enemies: spawning with its limits, the order of the random draws, turning,
// firing, movement in the box, flash and explosion ageing, and the wave's end.
#include "game_fixture.h"

#include "game/enemy_logic.h"
#include "game/random.h"

#include <cstdint>

namespace {

// An independent copy of the game's generator, to predict the draws.
struct Lcg {
    uint32_t state;
    int32_t  next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 0x7FFFu);
    }
};

class Enemies : public GameFixture {
  protected:
    // The first seed from `from` on whose draws `wanted` accepts.
    template <typename Wanted> uint32_t seedWhere(uint32_t from, Wanted wanted)
    {
        for (uint32_t seed = from; seed < from + 5000000u; ++seed) {
            Lcg rng{seed};
            if (wanted(rng))
                return seed;
        }
        ADD_FAILURE() << "no seed found";
        return from;
    }
};

TEST_F(Enemies, OneLogicCallDrawsSpawnThenTurnsThenFiring)
{
    // Slot 1 alive, slot 2 exploding, slot 3 free (it was heading 5), slot 4
    // alive: the spawn takes slot 3, and slots 1, 3 and 4 make a turn draw.
    aliveEnemyAt(1, 300, 400, 2);
    enemies[2].exploding = true;
    enemies[3].direction = 5;
    aliveEnemyAt(4, 500, 420, 6);

    struct Expected {
        int      spawnX, sprite, spawnHeading;
        int      heading[5];
        int      firingSlot;
        bool     turned;
        uint32_t state;
    };
    // Plays one call on the copy: the spawn draw, spawn's x, sprite and
    // heading draws, one turn draw per alive slot, then the firing draw.
    auto play = [](Lcg& rng, Expected& e) {
        if (rng.next() % 100 != 0)
            return false;
        e.spawnX = 157 + rng.next() % 450;
        e.sprite = rng.next() % 9;
        do
            e.spawnHeading = rng.next() % 8;
        while (e.spawnHeading == 5);
        e.heading[1] = 2;
        e.heading[3] = e.spawnHeading;
        e.heading[4] = 6;
        e.turned     = false;
        for (int slot : {1, 3, 4}) {
            if (rng.next() % 500 < 3) {
                int d;
                do
                    d = rng.next() % 8;
                while (d == e.heading[slot]);
                e.heading[slot] = d;
                e.turned        = true;
            }
        }
        e.firingSlot = rng.next() % 10 + 1;
        e.state      = rng.state;
        return true;
    };
    Expected       expected{};
    const uint32_t seed = seedWhere(1000, [&](Lcg& rng) {
        Expected e{};
        return play(rng, e) && e.turned && (e.firingSlot == 1 || e.firingSlot == 4);
    });
    Lcg            model{seed};
    ASSERT_TRUE(play(model, expected));

    seedRandom(seed);
    enemySpeed = 3;
    enemyLogic();

    const Enemy& spawned = enemies[3];
    EXPECT_TRUE(spawned.alive);
    EXPECT_EQ(spawned.x, expected.spawnX);
    EXPECT_EQ(spawned.y, 400);
    EXPECT_EQ(spawned.flashX, expected.spawnX);
    EXPECT_EQ(spawned.flashY, 400);
    EXPECT_TRUE(spawned.flashing);
    EXPECT_EQ(spawned.flashAlpha, 1.0);
    EXPECT_EQ(spawned.sprite, expected.sprite);
    EXPECT_EQ(spawned.speed, 3);
    EXPECT_EQ(spawned.direction, expected.heading[3]);
    EXPECT_EQ(enemies[1].direction, expected.heading[1]);
    EXPECT_EQ(enemies[4].direction, expected.heading[4]);
    EXPECT_FALSE(enemies[2].alive) << "an exploding slot is not free";
    EXPECT_EQ(enemiesOnScreen, 3);
    EXPECT_EQ(randomState(), expected.state);

    // The chosen alive slot fired from its centre, 10 below.
    const Enemy& shooter = enemies[expected.firingSlot];
    EXPECT_TRUE(enemyShots[1].active);
    EXPECT_EQ(enemyShots[1].x, shooter.x);
    EXPECT_EQ(enemyShots[1].y, shooter.y - 10);
    EXPECT_EQ(enemyShotsInFlight, 1);
}

TEST_F(Enemies, NoSpawnDrawWhenOnScreenReachesRemainingOrSlots)
{
    // Three on screen and three remaining: only the three turn draws are made.
    aliveEnemyAt(1, 300, 400, 0);
    aliveEnemyAt(2, 350, 400, 1);
    aliveEnemyAt(5, 400, 400, 2);
    enemiesRemaining    = 3;
    enemyShotsInFlight  = 10; // no firing draw either
    const uint32_t seed = seedWhere(77, [](Lcg& rng) {
        // A spawn draw would succeed; the three turn draws turn nobody.
        Lcg probe = rng;
        if (probe.next() % 100 != 0)
            return false;
        for (int i = 0; i < 3; ++i)
            if (rng.next() % 500 < 3)
                return false;
        return true;
    });
    seedRandom(seed);
    enemyLogic();
    Lcg model{seed};
    model.next();
    model.next();
    model.next();
    EXPECT_EQ(randomState(), model.state);
    EXPECT_EQ(enemiesOnScreen, 3);
    EXPECT_FALSE(enemies[3].alive);

    // Ten alive: no spawn draw, ten turn draws.
    freshGame();
    for (int slot = 1; slot <= 10; ++slot)
        aliveEnemyAt(slot, 200 + 30 * slot, 400, 0);
    enemyShotsInFlight   = 10;
    const uint32_t seed2 = seedWhere(5, [](Lcg& rng) {
        for (int i = 0; i < 10; ++i)
            if (rng.next() % 500 < 3)
                return false;
        return true;
    });
    seedRandom(seed2);
    enemyLogic();
    Lcg model2{seed2};
    for (int i = 0; i < 10; ++i)
        model2.next();
    EXPECT_EQ(randomState(), model2.state);
}

TEST_F(Enemies, TenBusySlotsTakeNoSpawnEvenWhenTheDrawSucceeds)
{
    for (int slot = 1; slot <= 10; ++slot)
        enemies[slot].exploding = true;
    enemyShotsInFlight  = 10;
    const uint32_t seed = seedWhere(9, [](Lcg& rng) { return rng.next() % 100 == 0; });
    seedRandom(seed);
    enemyLogic();
    Lcg model{seed};
    model.next();
    EXPECT_EQ(randomState(), model.state) << "the spawn draw is made";
    EXPECT_EQ(enemiesOnScreen, 0);
    for (int slot = 1; slot <= 10; ++slot)
        EXPECT_FALSE(enemies[slot].alive);
}

TEST_F(Enemies, FiringNeedsAnAliveSlotAndRoomForAShot)
{
    aliveEnemyAt(1, 300, 400, 0);
    // A seed whose firing draw (after one turn draw that does not turn) picks
    // slot 2, which is not alive.
    const uint32_t seed = seedWhere(3, [](Lcg& rng) {
        if (rng.next() % 100 == 0)
            return false; // no spawn
        if (rng.next() % 500 < 3)
            return false;
        return rng.next() % 10 + 1 == 2;
    });
    seedRandom(seed);
    enemyLogic();
    EXPECT_EQ(enemyShotsInFlight, 0);
    EXPECT_TRUE(soundCalls.empty());

    // Ten shots in flight: no firing draw at all.
    enemyShotsInFlight    = 10;
    enemiesOnScreen       = 10; // and no spawn draw
    enemies[1].alive      = false;
    const uint32_t before = randomState();
    enemyLogic();
    EXPECT_EQ(randomState(), before);
}

TEST_F(Enemies, FireTakesTheFirstFreeShotSlot)
{
    Enemy& enemy         = aliveEnemyAt(2, 250, 390, 0);
    enemyShotSpeed       = 3;
    enemyShots[1].active = true;
    enemyShotsInFlight   = 1;
    enemy.fire();
    EXPECT_TRUE(enemyShots[2].active);
    EXPECT_EQ(enemyShots[2].speed, 3);
    EXPECT_EQ(enemyShots[2].x, 250);
    EXPECT_EQ(enemyShots[2].y, 380);
    EXPECT_EQ(enemyShotsInFlight, 2);
    ASSERT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(soundCalls[0].channel, 1);
    EXPECT_EQ(soundCalls[0].fileName, "EnemyShot.wav");

    for (int i = 1; i <= enemyShotSlots; ++i)
        enemyShots[i].active = true;
    enemyShotsInFlight = 10;
    enemy.fire();
    EXPECT_EQ(enemyShotsInFlight, 10);
    EXPECT_EQ(soundCalls.size(), 1u);
}

TEST_F(Enemies, TurnAlwaysTakesANewHeading)
{
    Enemy enemy{};
    for (uint32_t seed = 0; seed < 200; ++seed) {
        seedRandom(seed);
        enemy.direction = static_cast<int32_t>(seed % 8);
        enemy.changeDirection(-1);
        ASSERT_NE(enemy.direction, static_cast<int32_t>(seed % 8));
        ASSERT_GE(enemy.direction, 0);
        ASSERT_LT(enemy.direction, 8);
    }
    const uint32_t before = randomState();
    enemy.changeDirection(6);
    EXPECT_EQ(enemy.direction, 6);
    EXPECT_EQ(randomState(), before) << "a given heading makes no draw";
}

TEST_F(Enemies, MovesByHeadingAndStaysInTheBox)
{
    const int dx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    const int dy[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    for (int heading = 0; heading < 8; ++heading) {
        Enemy& enemy = enemies[1];
        enemy.reset();
        enemy.alive = true;
        enemy.setPosition(300, 400);
        enemy.direction = heading;
        enemy.speed     = 3;
        enemy.update();
        EXPECT_EQ(enemy.x, 300 + 3 * dx[heading]) << heading;
        EXPECT_EQ(enemy.y, 400 + 3 * dy[heading]) << heading;
    }

    Enemy& enemy = enemies[1];
    enemy.setPosition(157, 400);
    enemy.flashX    = 157;
    enemy.flashY    = 400;
    enemy.flashing  = true;
    enemy.direction = 0;
    enemy.speed     = 2;
    enemy.update();
    EXPECT_EQ(enemy.x, 160) << "a spawn left of the box is pulled in";
    EXPECT_EQ(enemy.flashX, 157) << "while its flash stays";

    enemy.setPosition(606, 434);
    enemy.direction = 1;
    enemy.update();
    EXPECT_EQ(enemy.x, 590);
    EXPECT_EQ(enemy.y, 435);

    enemy.setPosition(300, 381);
    enemy.direction = 4;
    enemy.update();
    EXPECT_EQ(enemy.y, 380) << "the floor holds";
    enemyFloor = 360;
    enemy.update();
    EXPECT_EQ(enemy.y, 378) << "a lower floor lets it sink further";

    // Paused: no movement, but still clamped.
    paused = true;
    enemy.setPosition(100, 500);
    enemy.update();
    EXPECT_EQ(enemy.x, 160);
    EXPECT_EQ(enemy.y, 435);
}

TEST_F(Enemies, FlashLasts100FramesAndAgesOnlyWhenNeitherPausedNorFading)
{
    Enemy& enemy   = enemies[1];
    enemy.flashing = true;
    enemy.flashX   = 300;
    enemy.flashY   = 400;

    paused = true;
    enemy.update();
    EXPECT_EQ(enemy.flashAlpha, 1.0);
    paused = false;
    fading = true;
    enemy.update();
    EXPECT_EQ(enemy.flashAlpha, 1.0);
    fading = false;

    int frames = 0;
    while (enemy.flashing && frames < 500) {
        enemy.update();
        ++frames;
    }
    EXPECT_EQ(frames, 100);
    EXPECT_EQ(enemy.flashAlpha, 1.0);
}

TEST_F(Enemies, ExplosionLasts50FramesAndDriftsWithTheEnemy)
{
    Enemy& enemy   = aliveEnemyAt(1, 300, 400, 2);
    enemy.flashing = true;
    enemy.flashX   = 300;
    enemy.flashY   = 400;
    wave           = 7;
    enemy.kill();
    EXPECT_FALSE(enemy.alive);
    EXPECT_TRUE(enemy.exploding);
    EXPECT_EQ(score, 35);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(enemiesOnScreen, 0);
    EXPECT_EQ(enemiesRemaining, 9);

    // Fading: it drifts on, but the explosion holds.
    fading = true;
    enemy.update();
    EXPECT_EQ(enemy.x, 302);
    EXPECT_EQ(enemy.explosionSize, 5);
    EXPECT_EQ(enemy.explosionBrightness, 1.0);
    // Paused: nothing changes at all.
    fading = false;
    paused = true;
    enemy.update();
    EXPECT_EQ(enemy.x, 302);
    EXPECT_EQ(enemy.explosionSize, 5);
    paused = false;

    int frames = 0;
    while (enemy.exploding && frames < 500) {
        ASSERT_EQ(enemy.explosionSize, 5 + frames);
        enemy.update();
        ++frames;
    }
    EXPECT_EQ(frames, 50);
    EXPECT_EQ(enemy.x, 402) << "drifted right all along";
    EXPECT_EQ(enemy.explosionSize, 5);
    EXPECT_EQ(enemy.explosionBrightness, 1.0);
    EXPECT_TRUE(enemy.flashing) << "the flash outlives the explosion";
    EXPECT_NEAR(enemy.flashAlpha, 0.5, 1e-9);
}

TEST_F(Enemies, WaveEndsWhenNoneRemainAndClearsEnemyShots)
{
    enemiesRemaining      = 0;
    enemyShots[3]         = {2, true, 300, 200};
    enemyShotsInFlight    = 1;
    const uint32_t before = randomState();
    enemyLogic();
    EXPECT_TRUE(waveCleared);
    EXPECT_EQ(enemyShotsInFlight, 0);
    for (int i = 1; i <= enemyShotSlots; ++i) {
        EXPECT_FALSE(enemyShots[i].active);
        EXPECT_EQ(enemyShots[i].y, 480);
    }
    Lcg model{before};
    model.next(); // only the firing draw
    EXPECT_EQ(randomState(), model.state);
}

} // namespace
