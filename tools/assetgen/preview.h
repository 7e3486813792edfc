// The contact sheet: every picture on a checkerboard, the font in use, and mock screens.
#pragma once
#include "archive.h"

#include <string>

bool writePreview(const std::string& path, const std::vector<ArchivePicture>& pictures);
