// Sound effects: the five sounds, their channels, and the calls the game makes.
// The noise itself comes from the installed backend (SDL_mixer in the game).
#include "sound/sound.h"

Sound playerShotSound   = {"PlayerShot.wav", 2, 0};
Sound enemyShotSound    = {"EnemyShot.wav", 1, 0};
Sound enemyExplodeSound = {"EExplode.wav", 3, 0};
Sound extraShipSound    = {"XtraLife.wav", 3, 0};
Sound shipExplodeSound  = {"PExplode.wav", 2, 0};

const SoundBackend*    soundBackend = nullptr;
bool                   recordSounds = false;
std::vector<SoundCall> soundCalls;

namespace {
bool soundOpen = false; // the backend has an audio device
}

void startSound()
{
    soundOpen = soundBackend != nullptr && soundBackend->open();
}

Sound loadSound(const char* fileName, int32_t channel)
{
    Sound sound = {fileName, channel, 0};
    if (soundOpen && channel >= 1 && channel <= 4)
        sound.id = soundBackend->load(fileName, channel);
    return sound;
}

void playSound(const Sound& sound, int32_t channel)
{
    if (recordSounds)
        soundCalls.push_back({channel, sound.fileName ? sound.fileName : ""});
    if (soundOpen && sound.id != 0 && channel >= 1 && channel <= 4)
        soundBackend->play(sound.id, channel);
}

void stopSound()
{
    if (soundOpen)
        soundBackend->close();
    soundOpen = false;
}
