// Sound effects: the five sounds, their channels, and the calls the game makes.
// The noise itself comes from the installed backend (SDL_mixer in the game).
#include "sound/sound.h"

#include "sound/sound_effects.h"

Sound playerShotSound   = {playerShotEffect.fileName, playerShotEffect.channel, 0};
Sound enemyShotSound    = {enemyShotEffect.fileName, enemyShotEffect.channel, 0};
Sound enemyExplodeSound = {enemyExplodeEffect.fileName, enemyExplodeEffect.channel, 0};
Sound extraShipSound    = {extraShipEffect.fileName, extraShipEffect.channel, 0};
Sound shipExplodeSound  = {shipExplodeEffect.fileName, shipExplodeEffect.channel, 0};

const SoundBackend* soundBackend = nullptr;

namespace {
// The backend that was opened with an audio device, or nullptr. Kept apart
// from `soundBackend` so that the backend opened is the one used and closed,
// even if `soundBackend` changes while sound runs.
const SoundBackend* openBackend = nullptr;
} // namespace

void startSound()
{
    if (openBackend)
        return; // already running: opening again would leave the device open after stopSound
    if (soundBackend && soundBackend->open())
        openBackend = soundBackend;
}

Sound loadSound(const char* fileName, int32_t channel)
{
    Sound sound = {fileName, channel, 0};
    if (openBackend && fileName && channel >= 1 && channel <= 4)
        sound.id = openBackend->load(fileName, channel);
    return sound;
}

void loadSoundEffects()
{
    playerShotSound   = loadSound(playerShotEffect.fileName, playerShotEffect.channel);
    enemyShotSound    = loadSound(enemyShotEffect.fileName, enemyShotEffect.channel);
    enemyExplodeSound = loadSound(enemyExplodeEffect.fileName, enemyExplodeEffect.channel);
    extraShipSound    = loadSound(extraShipEffect.fileName, extraShipEffect.channel);
    shipExplodeSound  = loadSound(shipExplodeEffect.fileName, shipExplodeEffect.channel);
}

void playSound(const Sound& sound, int32_t channel)
{
    if (openBackend && sound.id != 0 && channel >= 1 && channel <= 4)
        openBackend->play(sound.id, channel);
}

void stopSound()
{
    if (openBackend)
        openBackend->close();
    openBackend = nullptr;
}
