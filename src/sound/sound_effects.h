// The five sound effects: the WAV file each is loaded from and the channel it
// plays on. Plain data, read by the game and by the generator that writes the files.
#pragma once
#include <cstdint>

struct SoundEffect {
    const char* fileName; // in the working directory
    int32_t     channel;  // 1 to 4
};

constexpr SoundEffect playerShotEffect   = {"PlayerShot.wav", 2};
constexpr SoundEffect enemyShotEffect    = {"EnemyShot.wav", 1};
constexpr SoundEffect enemyExplodeEffect = {"EExplode.wav", 3};
constexpr SoundEffect extraShipEffect    = {"XtraLife.wav", 3};
constexpr SoundEffect shipExplodeEffect  = {"PExplode.wav", 2};
