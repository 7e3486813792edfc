// Byte layouts of the generated files: TGA archive entries, WAV sounds, the BMP and ICO icons.
#pragma once
#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

// One archive entry: 18-byte header, B G R (A) pixels bottom row first, 26-byte TGA 2.0 footer.
std::vector<uint8_t> tgaEntry(const Canvas& picture, int bitsPerPixel);

// 16-bit mono PCM WAV at `rate` samples per second.
std::vector<uint8_t> wavFile(const std::vector<int16_t>& samples, int rate);

// 32-bit BMP with a V4 header and alpha mask, bottom row first.
std::vector<uint8_t> bmpFile(const Canvas& picture);

// A Windows icon holding each picture as a 32-bit image with alpha.
std::vector<uint8_t> icoFile(const std::vector<Canvas>& pictures);

bool writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
