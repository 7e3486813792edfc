// Spawning, turning and firing of the enemies, and the end of a wave.
#pragma once

void enemyLogic();
