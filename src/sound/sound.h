// Sound effects: four channels and the five sounds bound to them.
#pragma once
#include <cstdint>

// A loaded sound: its file and the backend's handle (0 when silent).
struct Sound {
    const char* fileName;
    int32_t     channel;
    int32_t     id;
};

// The five sounds; files and channels in sound/sound_effects.h.
extern Sound playerShotSound;
extern Sound enemyShotSound;
extern Sound enemyExplodeSound;
extern Sound extraShipSound;
extern Sound shipExplodeSound;

void  startSound();
Sound loadSound(const char* fileName, int32_t channel);
void  loadSoundEffects(); // loads the five sounds above, in that order
void  playSound(const Sound& sound, int32_t channel);
void  stopSound();

// What actually makes the noise. The game program installs the SDL_mixer
// backend, the headless host one that records the calls; without one every
// call is silent.
struct SoundBackend {
    bool (*open)();                                         // false: no audio device
    int32_t (*load)(const char* fileName, int32_t channel); // 0: not loadable
    void (*play)(int32_t id, int32_t channel);              // replaces what the channel plays
    void (*close)();
};
extern const SoundBackend* soundBackend;

// A sound that a new one replaces on its channel fades out over this long
// instead of stopping mid-waveform, on every backend that makes a noise.
constexpr int replacedSoundFadeMs = 4;
