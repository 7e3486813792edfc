// The game's data with their start values, and the new-game reset.
#include "game/game_data.h"

#include "game/random.h"
#include "system/services.h"

#define GAME_VARIABLE_DEFINITION(type, name, start, group, newGame) type name = start;
GAME_VARIABLES(GAME_VARIABLE_DEFINITION)
#undef GAME_VARIABLE_DEFINITION

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

    seedRandom(static_cast<uint32_t>(hostServices.calendarSeconds()));

    // Every variable but the kept ones takes its new-game value.
#define GAME_VARIABLE_RESET(type, name, start, group, newGame)                                     \
    if (DataGroup::group != DataGroup::Kept)                                                       \
        name = newGame;
    GAME_VARIABLES(GAME_VARIABLE_RESET)
#undef GAME_VARIABLE_RESET
}

void clearEnemyShots()
{
    enemyShotsInFlight = 0;
    for (int i = 1; i <= enemyShotSlots; ++i) {
        enemyShots[i].active = false;
        enemyShots[i].y      = 480;
    }
}

void restoreGameData()
{
#define GAME_VARIABLE_START(type, name, start, group, newGame) name = start;
    GAME_VARIABLES(GAME_VARIABLE_START)
#undef GAME_VARIABLE_START
    ship = PlayerShip{};
    for (Shot& shot : playerShots)
        shot = Shot{};
    for (Shot& shot : enemyShots)
        shot = Shot{};
    for (Enemy& enemy : enemies)
        enemy = Enemy{};
}
