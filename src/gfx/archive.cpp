// Reading one uncompressed true-colour TGA picture out of the graphics archive.
#include "gfx/archive.h"

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#endif

namespace {

// No image ID, no colour map, image type 2 (uncompressed true-colour), an
// all-zero colour-map fields and origin (0, 0).
const unsigned char expectedHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr long      headerBytes        = 18;

// Bytes allocated for a picture's pixels: enough for the texture upload, which
// reads 24-bit rows padded to 4 bytes (unpack alignment 4), never to run past
// the buffer. The pixel bytes fill it from the start; any padding is zero.
std::size_t pictureBufferSize(uint32_t width, uint32_t height, uint32_t bitsPerPixel)
{
    std::size_t row = std::size_t(width) * (bitsPerPixel / 8);
    row             = (row + 3) & ~std::size_t(3);
    return row * height;
}

// A stream that reads the bytes.
std::FILE* streamOverBytes(std::vector<unsigned char>& bytes)
{
#ifdef _WIN32
    // Windows has no stream over memory: the bytes go to a temporary file of
    // our own that is deleted when the stream closes.
    char folder[MAX_PATH + 1];
    char name[MAX_PATH + 1];
    if (!GetTempPathA(sizeof folder, folder) || !GetTempFileNameA(folder, "swa", 0, name))
        return nullptr;
    const HANDLE file = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(name);
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        return nullptr;
    }
    std::FILE* stream = _fdopen(fd, "w+b");
    if (!stream) {
        _close(fd);
        return nullptr;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size() ||
        std::fflush(stream) != 0 || std::fseek(stream, 0, SEEK_SET) != 0) {
        std::fclose(stream);
        return nullptr;
    }
    return stream;
#else
    return fmemopen(bytes.data(), bytes.size(), "rb");
#endif
}

} // namespace

void openArchive(const char* path, OpenArchive& archive)
{
    archive.stream = nullptr;
    archive.size   = -1;
    if (!readBoundedFile(path, maxArchiveBytes, archive.file) || archive.file.bytes.empty())
        return;
    archive.stream = streamOverBytes(archive.file.bytes);
    archive.size   = archiveFileSize(archive.stream);
}

void closeArchive(OpenArchive& archive)
{
    if (archive.stream)
        std::fclose(archive.stream);
    archive.stream = nullptr;
    archive.size   = -1;
    archive.file   = BoundedFile{};
}

long archiveFileSize(std::FILE* archive)
{
    if (!archive || std::fseek(archive, 0, SEEK_END) != 0)
        return -1;
    return std::ftell(archive);
}

bool readArchivePicture(std::FILE* archive, long archiveSize, int32_t offset, uint32_t maxSide,
                        Image& image)
{
    image.pixels = nullptr;
    if (!archive || offset < 0 || std::fseek(archive, offset, SEEK_SET) != 0)
        return false;

    unsigned char fixed[12];
    if (std::fread(fixed, 1, sizeof fixed, archive) != sizeof fixed ||
        std::memcmp(fixed, expectedHeader, sizeof fixed) != 0)
        return false;

    unsigned char size[6];
    if (std::fread(size, 1, sizeof size, archive) != sizeof size)
        return false;
    image.width          = size[0] + 256u * size[1];
    image.height         = size[2] + 256u * size[3];
    const uint32_t depth = size[4]; // size[5], the descriptor, is not consulted

    if (image.width == 0 || image.height == 0 || (depth != 24 && depth != 32))
        return false;
    image.bitsPerPixel = depth;

    const uint32_t    bytesPerPixel = depth / 8;
    const std::size_t pixelBytes    = std::size_t(image.width) * image.height * bytesPerPixel;
    // A damaged header can claim up to 16 GiB; such a picture fails like a short
    // read, without asking for the memory.
    if (image.width > maxSide || image.height > maxSide ||
        pictureBufferSize(image.width, image.height, depth) > maxPictureBytes)
        return false;
    if (archiveSize < 0 || long(offset) + headerBytes > archiveSize ||
        pixelBytes > std::size_t(archiveSize - (long(offset) + headerBytes)))
        return false;

    const std::size_t bufferBytes = pictureBufferSize(image.width, image.height, depth);
    unsigned char*    pixels      = static_cast<unsigned char*>(std::calloc(bufferBytes, 1));
    if (!pixels)
        return false;
    if (std::fread(pixels, 1, pixelBytes, archive) != pixelBytes) {
        std::free(pixels);
        return false;
    }

    // B, G, R (, A) becomes R, G, B (, A).
    for (std::size_t i = 0; i + 2 < pixelBytes; i += bytesPerPixel) {
        const unsigned char blue = pixels[i];
        pixels[i]                = pixels[i + 2];
        pixels[i + 2]            = blue;
    }
    image.pixels = pixels;
    return true;
}
