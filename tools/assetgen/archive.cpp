// Draws the fifteen pictures and joins them into graphics.dat at the game's offsets.
#include "archive.h"

#include "art.h"
#include "formats.h"
#include "gfx/archive_layout.h"

std::vector<ArchivePicture> makePictures()
{
    // One drawing per entry of the layout, in its order.
    std::vector<Canvas> drawings = {drawShipSheet(), drawIntroImage(), drawBackdrop(),
                                    drawFontImage()};
    for (int k = 0; k < 9; ++k)
        drawings.push_back(drawEnemy(k));
    drawings.push_back(drawExplosionRing());
    drawings.push_back(drawLogo());

    std::vector<ArchivePicture> out;
    for (int k = 0; k < archiveEntryCount; ++k) {
        const ArchiveEntry& entry = archiveLayout[k];
        out.push_back({entry.name, drawings[k], entry.bitsPerPixel(), entry.offset});
    }
    return out;
}

std::vector<uint8_t> buildArchive(const std::vector<ArchivePicture>& pictures)
{
    std::vector<uint8_t> out;
    for (const ArchivePicture& p : pictures) {
        if (static_cast<long>(out.size()) != p.offset)
            return {};
        std::vector<uint8_t> entry = tgaEntry(p.picture, p.bitsPerPixel);
        out.insert(out.end(), entry.begin(), entry.end());
    }
    return out;
}
