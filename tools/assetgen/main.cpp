// swarm-assetgen: draws and synthesises every picture and sound of the game.
// Usage: swarm-assetgen --out DIR [--icons DIR] [--preview FILE.png]
#include "archive.h"
#include "art.h"
#include "formats.h"
#include "png_write.h"
#include "preview.h"
#include "sounds.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>

namespace {

bool makeDirs(const std::string& path)
{
    std::string part;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/') {
            if (!part.empty())
                mkdir(part.c_str(), 0755);
        }
        if (i < path.size())
            part += path[i];
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int usage()
{
    std::fprintf(stderr, "usage: swarm-assetgen --out DIR [--icons DIR] [--preview FILE.png]\n");
    return 2;
}

bool writeIcons(const std::string& dir)
{
    for (int size : {32, 48, 64, 128, 256}) {
        std::string sub =
            dir + "/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        if (!makeDirs(sub))
            return false;
        std::vector<uint8_t> px = drawIcon(size, true).bytes(4);
        if (!writePng(sub + "/swarm.png", px.data(), size, size, 4))
            return false;
    }
    // The Windows program's icon, in the sizes its shell shows.
    std::vector<Canvas> pictures;
    for (int size : {16, 32, 48, 64})
        pictures.push_back(drawIcon(size, true));
    return writeBytes(dir + "/swarm.ico", icoFile(pictures));
}

} // namespace

int main(int argc, char** argv)
{
    std::string out, icons, preview;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc)
            return usage();
        if (arg == "--out")
            out = argv[++i];
        else if (arg == "--icons")
            icons = argv[++i];
        else if (arg == "--preview")
            preview = argv[++i];
        else
            return usage();
    }
    if (out.empty())
        return usage();
    if (!makeDirs(out)) {
        std::fprintf(stderr, "swarm-assetgen: cannot create %s\n", out.c_str());
        return 1;
    }

    std::vector<ArchivePicture> pictures = makePictures();
    std::vector<uint8_t>        archive  = buildArchive(pictures);
    if (archive.empty()) {
        std::fprintf(stderr, "swarm-assetgen: a picture does not fit the archive layout\n");
        return 1;
    }
    bool ok = writeBytes(out + "/graphics.dat", archive);
    for (const SoundFile& s : makeSounds())
        ok = writeBytes(out + "/" + s.name, wavFile(s.samples, sampleRate)) && ok;
    ok = writeBytes(out + "/swarm-icon.bmp", bmpFile(drawIcon(32, true))) && ok;
    if (!icons.empty())
        ok = writeIcons(icons) && ok;
    if (!preview.empty())
        ok = writePreview(preview, pictures) && ok;
    if (!ok) {
        std::fprintf(stderr, "swarm-assetgen: could not write every file\n");
        return 1;
    }
    return 0;
}
