// The wave-clear tally: hit percentage, accuracy bonus and extra ship, the
// transition to the next wave, and the difficulty step of each new wave.
#include "game/tally.h"

#include "game/game_data.h"
#include "gfx/font.h"
#include "gfx/gl.h"
#include "sound/sound.h"

namespace {

constexpr int32_t tallyFrames      = 500;
constexpr int32_t extraShipShownAt = 250; // the extra-ship line shows after this
constexpr int32_t extraShipPercent = 70;

void white() { glColor3d(1, 1, 1); }
void green() { glColor3d(0, 1, 0); }

void drawTally(int32_t percentage)
{
    green();
    drawText(280, 375, false, "WAVE CLEAR!");
    white();
    drawText(210, 340, false, "SHOTS FIRED:");
    drawText(470, 340, false, "%5i", shotsFired);
    drawText(210, 310, false, "HITS:");
    drawText(470, 310, false, "%5i", hits);
    drawText(210, 280, false, "PERCENTAGE:");
    if (percentage >= extraShipPercent)
        green();
    drawText(470, 280, false, "%5i", percentage);
    white();
    drawText(210, 250, false, "BONUS:");
    drawText(470, 250, false, "%5i", waveBonus);
}

// The tally is over: bank the bonus and the extra ship, and start the next,
// harder wave with the ship's entry.
void nextWave(int32_t percentage)
{
    waveBanner  = true;
    waveCleared = false;
    screenTimer = 0;
    if (percentage >= extraShipPercent)
        ++lives;
    ++wave;
    hits       = 0;
    shotsFired = 0;
    score += waveBonus;
    gameState            = WaveStart;
    extraShipSoundPlayed = false;
    ship.active          = false;
    raiseDifficulty();
}

} // namespace

// In double precision and truncated, so 58 hits in 100 shots give 57. No shot
// at all gives 0.
int32_t hitPercentage()
{
    if (shotsFired == 0)
        return 0;
    return static_cast<int32_t>(static_cast<double>(hits) / static_cast<double>(shotsFired) *
                                100.0);
}

int32_t bonusFor(int32_t percentage)
{
    if (percentage == 100)
        return 2000;
    if (percentage >= 90)
        return 1000;
    if (percentage >= 80)
        return 800;
    if (percentage >= 70)
        return 700;
    if (percentage >= 60)
        return 600;
    if (percentage >= 50)
        return 500;
    if (percentage >= 40)
        return 250;
    if (percentage >= 30)
        return 200;
    if (percentage >= 20)
        return 100;
    if (percentage >= 10)
        return 50;
    return 0;
}

// One tally frame; the call after the 500th drawn one ends the wave instead.
void waveTally()
{
    const int32_t percentage = hitPercentage();
    if (screenTimer == tallyFrames) {
        nextWave(percentage);
        return;
    }
    waveBonus = bonusFor(percentage);
    ++screenTimer;
    drawTally(percentage);
    if (percentage >= extraShipPercent && screenTimer > extraShipShownAt) {
        glColor3d(0, 0, 1);
        drawText(205, 200, false, "EXTRA SHIP AWARDED!");
        white();
        if (!extraShipSoundPlayed) {
            playSound(extraShipSound, 3);
            extraShipSoundPlayed = true;
        }
    }
}

// Even waves up to 28 lower the floor; waves 5 and 21 speed up enemy shots,
// waves 11 and 30 the enemies; every wave brings two more enemies.
void raiseDifficulty()
{
    const int32_t n = wave;
    if (n % 2 == 0 && n >= 2 && n <= 28)
        enemyFloor -= 20;
    else if (n == 5 || n == 21)
        ++enemyShotSpeed;
    else if (n == 11 || n == 30)
        ++enemySpeed;
    waveSize += 2;
    enemiesRemaining = waveSize;
}
