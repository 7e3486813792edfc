// The Windows host's sound mixing, in software: four game channels, each a
// few voices, so that a sound started on a channel replaces what it plays
// while the replaced sound fades out over replacedSoundFadeMs instead of
// stopping mid-waveform. Plain code with no platform, fed by the output.
#pragma once
#include "sound/wav_format.h"

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int mixRate          = 44100; // output frames per second, stereo
constexpr int mixGameChannels  = 4;
constexpr int mixVoicesPerGame = 3; // room for two replacements within one fade
constexpr int mixFadeFrames    = mixRate * 4 / 1000;

// A decoded sound: interleaved stereo samples in -1..1 at mixRate.
using MixSound = std::vector<float>;

// One voice: the sound it plays, how far, and its fade (-1: full volume,
// else the frames left of it).
struct MixVoice {
    const MixSound* sound;
    std::size_t     frame;
    int             fadeLeft;
};

// Game channel c (1 to 4) owns voices (c - 1) * mixVoicesPerGame onwards.
struct ChannelMix {
    MixVoice voices[mixGameChannels * mixVoicesPerGame];
};

// The WAV's samples as a MixSound: mono doubled, more channels than two
// reduced to the first two, other rates resampled linearly.
MixSound convertWav(const WavSamples& wav);

// Starts `sound` on game `channel` (1 to 4): what the channel plays fades
// out, and the new sound takes a free voice of it, else the one furthest
// into its fade. Out-of-range channels are ignored.
void startMixSound(ChannelMix* mix, const MixSound* sound, int channel);

// Mixes the next `frames` stereo frames of every voice into `out`, clipped.
void mixInto(ChannelMix* mix, int16_t* out, int frames);
