// Writes 8-bit RGB or RGBA pictures as PNG files with libpng.
#include "png_write.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool writePng(const std::string& path, const uint8_t* pixels, int width, int height, int channels)
{
    if (width <= 0 || height <= 0 || (channels != 3 && channels != 4))
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png  = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop   info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y)
        rows[static_cast<size_t>(y)] = const_cast<png_bytep>(
            pixels + static_cast<size_t>(y) * static_cast<size_t>(width) * channels);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}
