// Player and enemy shots, and the collision pass.
#pragma once

struct Enemy;

void updatePlayerShots();
void updateEnemyShots();
bool hitByPlayerShot(const Enemy& enemy);
void checkCollisions();
