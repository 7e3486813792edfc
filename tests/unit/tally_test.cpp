// The wave-clear tally: percentage and bonus, its 500 frames, the extra ship,
// the wave transition and the difficulty of every wave.
#include "game_fixture.h"

#include "game/tally.h"

namespace {

class Tally : public GameFixture {
  protected:
    void clearedWave(int32_t waveHits, int32_t shots)
    {
        shipInPlay();
        waveCleared = true;
        hits        = waveHits;
        shotsFired  = shots;
    }
};

TEST_F(Tally, PercentageIsTruncatedFromDoubleDivision)
{
    struct Row {
        int32_t hits, shots, percent, bonus;
    };
    const Row rows[] = {
        {10, 10, 100, 2000}, {10, 11, 90, 1000}, {10, 12, 83, 800},   {10, 14, 71, 700},
        {10, 15, 66, 600},   {10, 20, 50, 500},  {10, 21, 47, 250},   {10, 25, 40, 250},
        {10, 30, 33, 200},   {10, 50, 20, 100},  {10, 51, 19, 50},    {10, 100, 10, 50},
        {10, 101, 9, 0},     {58, 100, 57, 500}, {12, 12, 100, 2000}, {70, 100, 70, 700},
        {69, 100, 69, 600},  {29, 100, 28, 100}, {30, 100, 30, 200},  {39, 100, 39, 200},
        {80, 100, 80, 800},  {89, 100, 89, 800}, {99, 100, 99, 1000},
    };
    for (const Row& row : rows) {
        hits       = row.hits;
        shotsFired = row.shots;
        EXPECT_EQ(hitPercentage(), row.percent) << row.hits << " in " << row.shots;
        EXPECT_EQ(bonusFor(row.percent), row.bonus) << row.percent;
    }
    EXPECT_EQ(bonusFor(150), 1000) << "only exactly 100 earns 2000";
    EXPECT_EQ(bonusFor(0), 0);
}

TEST_F(Tally, FiveHundredFramesThenTheTransition)
{
    clearedWave(10, 10);
    score = 50;
    for (int call = 1; call <= 500; ++call) {
        waveTally();
        ASSERT_TRUE(waveCleared) << call;
        ASSERT_EQ(screenTimer, call);
        ASSERT_EQ(lives, 4) << "the extra ship is added only at the transition";
        ASSERT_EQ(score, 50) << "the bonus is added only at the transition";
        ASSERT_EQ(waveBonus, 2000);
    }
    EXPECT_EQ(gameState, Playing);
    waveTally();
    EXPECT_FALSE(waveCleared);
    EXPECT_EQ(screenTimer, 0);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(score, 2050);
    EXPECT_EQ(wave, 2);
    EXPECT_EQ(hits, 0);
    EXPECT_EQ(shotsFired, 0);
    EXPECT_EQ(gameState, WaveStart);
    EXPECT_TRUE(waveBanner);
    EXPECT_FALSE(extraShipSoundPlayed);
    EXPECT_FALSE(ship.active);
    EXPECT_EQ(waveSize, 12);
    EXPECT_EQ(enemiesRemaining, 12);
    EXPECT_EQ(enemyFloor, 360);
}

TEST_F(Tally, ExtraShipSoundOnceOnCall251)
{
    clearedWave(10, 14); // 71 percent
    for (int call = 1; call <= 250; ++call)
        waveTally();
    EXPECT_TRUE(soundCalls.empty());
    EXPECT_FALSE(extraShipSoundPlayed);
    waveTally();
    ASSERT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(soundCalls[0].channel, 3);
    EXPECT_EQ(soundCalls[0].fileName, "XtraLife.wav");
    for (int call = 252; call <= 501; ++call)
        waveTally();
    EXPECT_EQ(soundCalls.size(), 1u);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(score, 700);

    // The next wave's tally plays it again.
    waveCleared = true;
    hits        = 12;
    shotsFired  = 12;
    for (int call = 1; call <= 251; ++call)
        waveTally();
    EXPECT_EQ(soundCalls.size(), 2u);
}

TEST_F(Tally, NoExtraShipBelowSeventyPercent)
{
    clearedWave(10, 15); // 66 percent
    for (int call = 1; call <= 501; ++call)
        waveTally();
    EXPECT_TRUE(soundCalls.empty());
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(score, 600);
    EXPECT_EQ(wave, 2);
}

TEST_F(Tally, DifficultyOfEveryWaveUpTo31)
{
    struct Row {
        int32_t floor, shotSpeed, speed, size;
    };
    // Index: wave number.
    const Row table[32] = {
        {0, 0, 0, 0},    {380, 2, 2, 10}, {360, 2, 2, 12}, {360, 2, 2, 14}, {340, 2, 2, 16},
        {340, 3, 2, 18}, {320, 3, 2, 20}, {320, 3, 2, 22}, {300, 3, 2, 24}, {300, 3, 2, 26},
        {280, 3, 2, 28}, {280, 3, 3, 30}, {260, 3, 3, 32}, {260, 3, 3, 34}, {240, 3, 3, 36},
        {240, 3, 3, 38}, {220, 3, 3, 40}, {220, 3, 3, 42}, {200, 3, 3, 44}, {200, 3, 3, 46},
        {180, 3, 3, 48}, {180, 4, 3, 50}, {160, 4, 3, 52}, {160, 4, 3, 54}, {140, 4, 3, 56},
        {140, 4, 3, 58}, {120, 4, 3, 60}, {120, 4, 3, 62}, {100, 4, 3, 64}, {100, 4, 3, 66},
        {100, 4, 4, 68}, {100, 4, 4, 70},
    };
    for (int n = 1; n <= 31; ++n) {
        if (n > 1) {
            ++wave;
            raiseDifficulty();
        }
        ASSERT_EQ(wave, n);
        EXPECT_EQ(enemyFloor, table[n].floor) << "wave " << n;
        EXPECT_EQ(enemyShotSpeed, table[n].shotSpeed) << "wave " << n;
        EXPECT_EQ(enemySpeed, table[n].speed) << "wave " << n;
        EXPECT_EQ(waveSize, table[n].size) << "wave " << n;
        EXPECT_EQ(enemiesRemaining, table[n].size) << "wave " << n;
    }
    for (int n = 32; n <= 40; ++n) {
        ++wave;
        raiseDifficulty();
    }
    EXPECT_EQ(enemyFloor, 100);
    EXPECT_EQ(enemyShotSpeed, 4);
    EXPECT_EQ(enemySpeed, 4);
    EXPECT_EQ(waveSize, 88);
}

} // namespace
