// STUB: replaced by the enemies.
#include "game/enemy_logic.h"
#include "game/game_data.h"
void Enemy::setPosition(int32_t nx, int32_t ny) { x = nx; y = ny; }
void Enemy::changeDirection(int32_t) {}
void Enemy::spawn() {}
void Enemy::update() {}
void Enemy::draw() {}
void Enemy::fire() {}
void Enemy::kill() {}
void enemyLogic() {}
