// Synthesised sound effects, 16-bit mono at 44,100 samples per second.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

const int sampleRate = 44100;

struct SoundFile {
    std::string          name;
    std::vector<int16_t> samples;
};

// The five effects under the file names the game loads.
std::vector<SoundFile> makeSounds();
