// The graphics archive: fifteen pictures in a fixed order at fixed offsets.
#pragma once
#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

struct ArchivePicture {
    std::string name;
    Canvas      picture;
    int         bitsPerPixel;
    long        offset; // where the game reads it
};

// Draws every picture of the archive, in archive order.
std::vector<ArchivePicture> makePictures();

// Joins the entries; returns an empty vector if an entry would miss its offset.
std::vector<uint8_t> buildArchive(const std::vector<ArchivePicture>& pictures);
