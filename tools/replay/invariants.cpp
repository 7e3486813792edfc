// Checks of the game data that must hold after every frame.
#include "invariants.h"

#include "game/game_data.h"

#include <string>

std::string checkInvariants()
{
    int alive = 0;
    for (int i = 1; i <= enemySlots && i <= enemySlotCount; ++i)
        if (enemies[i].alive)
            ++alive;
    for (int i = enemySlots + 1; i <= enemySlotCount; ++i)
        if (i >= 1 && enemies[i].alive)
            return "enemy slot " + std::to_string(i) + " is alive beyond enemySlots";
    if (enemiesOnScreen != alive)
        return "enemiesOnScreen is " + std::to_string(enemiesOnScreen) + " but " +
               std::to_string(alive) + " slots are alive";
    if (enemiesOnScreen > enemySlots)
        return "enemiesOnScreen " + std::to_string(enemiesOnScreen) + " exceeds enemySlots";
    if (enemiesOnScreen > enemiesRemaining)
        return "enemiesOnScreen " + std::to_string(enemiesOnScreen) + " exceeds enemiesRemaining " +
               std::to_string(enemiesRemaining);

    int inFlight = 0;
    for (int i = 1; i <= enemyShotSlots; ++i)
        if (enemyShots[i].active)
            ++inFlight;
    if (enemyShotsInFlight != inFlight)
        return "enemyShotsInFlight is " + std::to_string(enemyShotsInFlight) + " but " +
               std::to_string(inFlight) + " enemy shots are in flight";
    if (enemyShotsInFlight > enemyShotSlots)
        return "enemyShotsInFlight exceeds 10";

    for (int i = 1; i <= playerShotSlots; ++i)
        if (!playerShots[i].active && playerShots[i].y != 0)
            return "free player shot slot " + std::to_string(i) + " holds y " +
                   std::to_string(playerShots[i].y);

    if (ship.active && (ship.entryPhase != 0 || ship.exploding || ship.y != 0))
        return "the ship is in play but its entryPhase is " + std::to_string(ship.entryPhase) +
               ", exploding " + (ship.exploding ? "true" : "false") + ", y " +
               std::to_string(ship.y);

    if (!(brightness >= 0.0 && brightness <= 1.0))
        return "brightness " + std::to_string(brightness) + " is outside 0 to 1";
    if (gameState < Loading || gameState > Quitting || stateAfterFade < Loading ||
        stateAfterFade > Quitting)
        return "invalid game state " + std::to_string(gameState) + " / " +
               std::to_string(stateAfterFade);
    return std::string();
}
