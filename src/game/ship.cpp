// STUB: replaced by the player ship.
#include "game/game_data.h"
void PlayerShip::update(int32_t) {}
void PlayerShip::draw() {}
void PlayerShip::fire() {}
bool PlayerShip::hitByEnemyShot() { return false; }
void PlayerShip::explode() {}
