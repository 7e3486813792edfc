// STUB: replaced by the shots.
#include "game/shots.h"
#include "game/game_data.h"
void updatePlayerShots() {}
void updateEnemyShots() {}
bool hitByPlayerShot(const Enemy&) { return false; }
void checkCollisions() {}
