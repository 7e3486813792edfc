// The RIFF WAVE container, read without a decoder library: its chunks, and
// the plain sample formats that a host without one can play.
#pragma once
#include <cstddef>
#include <cstdint>

// True when there is a data chunk and no chunk up to it claims more bytes
// than follow it. A decoder that allocates what a chunk claims before it
// reads would otherwise let a 50-byte file ask for 4 GiB; a file cut short
// is damaged. Nothing behind the data chunk is read.
bool wavChunksWithinBytes(const unsigned char* data, std::size_t size);

// A WAV of integer PCM (8, 16, 24 or 32 bits) or 32-bit float samples.
struct WavSamples {
    int                  rate;          // frames per second
    int                  channels;      // interleaved in each frame
    int                  bitsPerSample; // 8 (unsigned), 16, 24, 32
    bool                 floatingPoint; // 32-bit IEEE float instead of integers
    const unsigned char* samples;       // the data chunk, within the file's bytes
    std::size_t          frames;        // whole frames in the data chunk
};

// Finds the format and the samples of a WAV; false for anything else (no
// RIFF WAVE, chunks beyond the bytes, a compressed or odd format, no frames).
bool parseWav(const unsigned char* data, std::size_t size, WavSamples* out);

// Sample `index` (frame x channels + channel) as a float in -1..1.
float wavSample(const WavSamples& wav, std::size_t index);
