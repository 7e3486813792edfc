// Fuzz target: the graphics archive reader on arbitrary bytes, read from a
// file by path through the bounded reader as the game reads graphics.dat. Every
// picture offset the game uses is tried, as the game tries them all in turn,
// under a texture side limit that the input picks.
#include "gfx/archive.h"
#include "gfx/archive_layout.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <sys/mman.h>
#include <unistd.h>

namespace {

// The file the input is written to: a memory file, reached by a path as
// graphics.dat is.
int         archiveFd = -1;
std::string archivePath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    archiveFd = memfd_create("graphics.dat", MFD_CLOEXEC);
    if (archiveFd < 0)
        std::abort();
    archivePath = "/proc/self/fd/" + std::to_string(archiveFd);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (ftruncate(archiveFd, 0) != 0 ||
        (size > 0 && pwrite(archiveFd, data, size, 0) != static_cast<ssize_t>(size)))
        std::abort();

    OpenArchive archive = {};
    openArchive(archivePath.c_str(), archive);
    if (!archive.stream) {
        if (size > 0)
            std::abort(); // a regular file with bytes always opens
        return 0;
    }
    if (archive.size != long(size) || archive.file.bytes.size() != size || !archive.file.whole)
        std::abort();

    const uint32_t maxSide = size > 1 && data[1] % 2 ? 64 + data[0] : 16384;
    // Every entry's offset, and one in the middle of the input.
    int32_t offsets[archiveEntryCount + 1];
    for (int k = 0; k < archiveEntryCount; ++k)
        offsets[k] = archiveLayout[k].offset;
    offsets[archiveEntryCount] = static_cast<int32_t>(size / 2);
    for (int32_t offset : offsets) {
        Image image = {};
        if (readArchivePicture(archive.stream, archive.size, offset, maxSide, image)) {
            if (image.width > maxSide || image.height > maxSide)
                std::abort();
            // The pixels the reader claims must all be there to read, within the cap.
            const size_t bytes = size_t(image.width) * image.height * (image.bitsPerPixel / 8);
            if (bytes > maxPictureBytes)
                std::abort();
            volatile uint8_t sum = 0;
            for (size_t i = 0; i < bytes; i += 97)
                sum = static_cast<uint8_t>(sum + image.pixels[i]);
            std::free(image.pixels);
        }
    }
    closeArchive(archive);
    return 0;
}
