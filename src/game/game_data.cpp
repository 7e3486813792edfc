// The game's data with their start values, and the new-game reset.
#include "game/game_data.h"

#include "app/platform.h"
#include "game/random.h"

// Kept by resetGame.
GameState gameState        = Loading;
GameState stateAfterFade   = Loading;
bool      fading           = false;
double    brightness       = 1.0;
double    introDepth       = -100.0;
bool      introApproaching = true;
bool      paused           = false;
int32_t   highScore        = 0;
int32_t   waveBonus        = 0;

// Set by resetGame.
bool    gameOver       = false;
int32_t shipCommand    = 0;
double  backdropScroll = 0.0;
int32_t creditsX       = 0;
int32_t score          = 0;
int32_t lives          = 0;
int32_t enemySlots     = 0;

// Set by resetGame and by nextWave.
bool    waveBanner           = false;
bool    waveCleared          = false;
int32_t screenTimer          = 0;
bool    extraShipSoundPlayed = false;
int32_t shotsFired           = 0;
int32_t hits                 = 0;
int32_t wave                 = 0;
int32_t waveSize             = 0;
int32_t enemiesRemaining     = 0;
int32_t enemySpeed           = 0;
int32_t enemyShotSpeed       = 0;
int32_t enemyFloor           = 0;

// Kept equal to the slots in use.
int32_t enemiesOnScreen    = 0;
int32_t enemyShotsInFlight = 0;

PlayerShip ship                             = {};
Shot       playerShots[playerShotSlots + 1] = {};
Shot       enemyShots[enemyShotSlots + 1]   = {};
Enemy      enemies[enemySlotCount + 1]      = {};

void PlayerShip::place(int32_t newX, int32_t newY, int32_t newEntryPhase)
{
    x          = newX;
    y          = newY;
    entryPhase = newEntryPhase;
}

void Enemy::reset()
{
    x                   = 0;
    y                   = 0;
    sprite              = 0;
    direction           = 0;
    speed               = 2;
    exploding           = false;
    alive               = false;
    flashX              = 0;
    flashY              = 0;
    flashing            = false;
    flashAlpha          = 1.0;
    explosionBrightness = 1.0;
    explosionSize       = 5;
}

void resetGame()
{
    ship.active = false;
    ship.place(141, 0, 0);

    for (int i = 1; i <= playerShotSlots; ++i) {
        playerShots[i].active = false;
        playerShots[i].speed  = 4;
        playerShots[i].y      = 0;
    }
    for (int i = 1; i <= enemyShotSlots; ++i) {
        enemyShots[i].active = false;
        enemyShots[i].speed  = 2;
        enemyShots[i].y      = 480;
    }
    for (int i = 1; i <= enemySlotCount; ++i)
        enemies[i].reset();

    seedRandom(static_cast<uint32_t>(platform.calendarSeconds()));

    enemiesOnScreen      = 0;
    enemyShotsInFlight   = 0;
    waveCleared          = false;
    screenTimer          = 0;
    shotsFired           = 0;
    hits                 = 0;
    score                = 0;
    extraShipSoundPlayed = false;
    gameOver             = false;
    backdropScroll       = 0.0;
    shipCommand          = 2;
    enemySlots           = 10;
    enemyFloor           = 380;
    enemySpeed           = 2;
    enemyShotSpeed       = 2;
    lives                = 4;
    waveBanner           = true;
    wave                 = 1;
    enemiesRemaining     = 10;
    waveSize             = 10;
    creditsX             = 640;
}

void clearEnemyShots()
{
    enemyShotsInFlight = 0;
    for (int i = 1; i <= enemyShotSlots; ++i) {
        enemyShots[i].active = false;
        enemyShots[i].y      = 480;
    }
}
