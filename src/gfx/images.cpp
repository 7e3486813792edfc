// The pictures of graphics.dat as textures, and the fixed drawing state.
#include "gfx/images.h"

#include "gfx/archive.h"
#include "gfx/font.h"
#include "gfx/gl.h"

#include <cstdlib>

Image shipSheet, introImage, backdrop, fontImage, enemySprites[9], explosionRing, logo;

Image* const archiveImages[archiveEntryCount] = {
    &shipSheet,       &introImage,      &backdrop,        &fontImage,       &enemySprites[0],
    &enemySprites[1], &enemySprites[2], &enemySprites[3], &enemySprites[4], &enemySprites[5],
    &enemySprites[6], &enemySprites[7], &enemySprites[8], &explosionRing,   &logo};

namespace {

// The archive while loadGraphics reads it, and the largest texture side the
// upload takes.
OpenArchive archive        = {};
uint32_t    maxTextureSide = 0;

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
    if (!archive.stream ||
        !readArchivePicture(archive.stream, archive.size, offset, maxTextureSide, image))
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
    openArchive("graphics.dat", archive);
    // Every OpenGL takes at least 64; a larger picture would fail the upload.
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    maxTextureSide = side > 64 ? uint32_t(side) : 64u;

    // A picture that fails keeps no texture; the later ones are still read.
    for (int k = 0; k < archiveEntryCount; ++k)
        loadImage(*archiveImages[k], archiveLayout[k].alpha, archiveLayout[k].offset);

    closeArchive(archive);

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
