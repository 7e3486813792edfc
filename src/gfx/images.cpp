// The pictures of graphics.dat as textures, and the fixed drawing state.
#include "gfx/images.h"

#include "gfx/archive.h"
#include "gfx/font.h"
#include "gfx/gl.h"

#include <cstdio>
#include <cstdlib>

Image shipSheet, introImage, backdrop, fontImage, enemySprites[9], explosionRing, logo;

namespace {

// The archive while loadGraphics reads it, and its length.
std::FILE* archive     = nullptr;
long       archiveSize = -1;

// Offsets of the pictures in graphics.dat. Each entry takes its 18 header
// bytes, its pixel bytes and a 26-byte TGA footer that is never read.
constexpr int32_t shipSheetOffset     = 0;
constexpr int32_t introImageOffset    = 65580;
constexpr int32_t backdropOffset      = 262232;
constexpr int32_t fontImageOffset     = 1835140;
constexpr int32_t enemySpritesOffset  = 2097328;
constexpr int32_t enemySpriteStride   = 16428;
constexpr int32_t explosionRingOffset = 2245180; // where a tenth enemy sprite would lie
constexpr int32_t logoOffset          = 2261608;

// Puts an Image back into its never-loaded state, so a second load (tests)
// starts clean and leaks nothing.
void emptyImage(Image& image)
{
    if (image.texture != 0) {
        const GLuint name = image.texture;
        glDeleteTextures(1, &name);
    }
    std::free(image.pixels);
    image = Image{};
}

} // namespace

bool loadImage(Image& image, bool alpha, int32_t offset)
{
    emptyImage(image);
    if (!archive || !readArchivePicture(archive, archiveSize, offset, image))
        return false;
    // A slot that wants alpha needs 32-bit pixels: the RGBA upload would read
    // a 24-bit picture's buffer a third too far. Such a picture fails like any
    // other damaged one. (A 32-bit picture in an RGB slot reads less than it
    // holds, and shows as the archive made it.)
    if (alpha && image.bitsPerPixel != 32) {
        std::free(image.pixels);
        image.pixels = nullptr;
        return false;
    }

    GLuint name = 0;
    glGenTextures(1, &name);
    image.texture = name;
    glBindTexture(GL_TEXTURE_2D, image.texture);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    const GLenum format = alpha ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, format, image.width, image.height, 0, format, GL_UNSIGNED_BYTE,
                 image.pixels);
    return true;
}

void loadGraphics()
{
    archive     = std::fopen("graphics.dat", "rb");
    archiveSize = archiveFileSize(archive);

    // A picture that fails keeps no texture; the later ones are still read.
    loadImage(shipSheet, true, shipSheetOffset);
    loadImage(introImage, false, introImageOffset);
    loadImage(backdrop, false, backdropOffset);
    loadImage(fontImage, true, fontImageOffset);
    for (int k = 0; k < 9; ++k)
        loadImage(enemySprites[k], true, enemySpritesOffset + enemySpriteStride * k);
    loadImage(explosionRing, true, explosionRingOffset);
    loadImage(logo, true, logoOffset);

    if (archive)
        std::fclose(archive);
    archive     = nullptr;
    archiveSize = -1;

    // The fixed drawing state every screen relies on. Left at their defaults:
    // GL_MODULATE (the colour tints every texel), GL_REPEAT, no depth test.
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);

    buildFont();
}
