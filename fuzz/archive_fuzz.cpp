// Fuzz target: the graphics archive reader on arbitrary bytes. Every picture
// offset the game uses is tried, as the game tries them all in turn.
#include "gfx/archive.h"
#include "gfx/archive_layout.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::FILE* archive = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!archive)
        return 0;
    const long archiveSize = archiveFileSize(archive);
    // Every entry's offset, and one in the middle of the input.
    int32_t offsets[archiveEntryCount + 1];
    for (int k = 0; k < archiveEntryCount; ++k)
        offsets[k] = archiveLayout[k].offset;
    offsets[archiveEntryCount] = static_cast<int32_t>(size / 2);
    for (int32_t offset : offsets) {
        Image image = {};
        if (readArchivePicture(archive, archiveSize, offset, image)) {
            // The pixels the reader claims must all be there to read.
            const size_t     bytes = size_t(image.width) * image.height * (image.bitsPerPixel / 8);
            volatile uint8_t sum   = 0;
            for (size_t i = 0; i < bytes; i += 97)
                sum = static_cast<uint8_t>(sum + image.pixels[i]);
            std::free(image.pixels);
        }
    }
    std::fclose(archive);
    return 0;
}
