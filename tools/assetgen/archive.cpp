// Draws the fifteen pictures and joins them into graphics.dat at the game's offsets.
#include "archive.h"

#include "art.h"
#include "formats.h"

std::vector<ArchivePicture> makePictures()
{
    std::vector<ArchivePicture> out;
    out.push_back({"shipSheet", drawShipSheet(), 32, 0});
    out.push_back({"introImage", drawIntroImage(), 24, 65580});
    out.push_back({"backdrop", drawBackdrop(), 24, 262232});
    out.push_back({"fontImage", drawFontImage(), 32, 1835140});
    for (int k = 0; k < 9; ++k)
        out.push_back(
            {"enemySprites[" + std::to_string(k) + "]", drawEnemy(k), 32, 2097328 + 16428L * k});
    out.push_back({"explosionRing", drawExplosionRing(), 32, 2245180});
    out.push_back({"logo", drawLogo(), 32, 2261608});
    return out;
}

std::vector<uint8_t> buildArchive(const std::vector<ArchivePicture>& pictures)
{
    std::vector<uint8_t> out;
    for (const ArchivePicture& p : pictures) {
        if (p.offset >= 0 && static_cast<long>(out.size()) != p.offset)
            return {};
        std::vector<uint8_t> entry = tgaEntry(p.picture, p.bitsPerPixel);
        out.insert(out.end(), entry.begin(), entry.end());
    }
    return out;
}
