// Writes 8-bit RGB or RGBA pictures as PNG files.
#pragma once
#include <cstdint>
#include <string>

// `pixels` holds `height` rows of `width` pixels, top row first, with
// `channels` (3 or 4) bytes per pixel. Returns false if the file cannot be written.
bool writePng(const std::string& path, const uint8_t* pixels, int width, int height, int channels);
