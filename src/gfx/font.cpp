// The bitmap font: 256 display lists over fontImage, and text drawing.
#include "gfx/font.h"

#include "gfx/gl.h"
#include "gfx/images.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

uint32_t fontBase = 0;

namespace {

constexpr int    glyphCount   = 256;
constexpr double cellSize     = 0.0625; // one sixteenth of the picture
constexpr double topInset     = 0.001;  // keeps the cell above from bleeding in
constexpr int    glyphSize    = 16;     // units at full size
constexpr double glyphAdvance = 20.0;   // units from one glyph to the next
constexpr int    firstCode    = 32;     // the space is cell 0

} // namespace

void buildFont()
{
    if (fontBase != 0) // built before (tests): replace the old lists
        releaseFont();
    fontBase = glGenLists(glyphCount);
    glBindTexture(GL_TEXTURE_2D, fontImage.texture);
    for (int i = 0; i < glyphCount; ++i) {
        // The cell's left and top edges; cell 0 is at the picture's top left.
        const double u = (i % 16) / 16.0;
        const double v = 1.0 - (i / 16) / 16.0;
        glNewList(fontBase + i, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2d(u, v - topInset);
        glVertex2i(0, glyphSize);
        glTexCoord2d(u + cellSize, v - topInset);
        glVertex2i(glyphSize, glyphSize);
        glTexCoord2d(u + cellSize, v - cellSize);
        glVertex2i(glyphSize, 0);
        glTexCoord2d(u, v - cellSize);
        glVertex2i(0, 0);
        glEnd();
        glTranslated(glyphAdvance, 0.0, 0.0);
        glEndList();
    }
}

void releaseFont()
{
    if (fontBase != 0)
        glDeleteLists(fontBase, glyphCount);
    fontBase = 0;
}

void drawText(int32_t x, int32_t y, bool halfSize, const char* format, ...)
{
    // Longer texts are cut at 255 characters.
    char    text[256];
    va_list values;
    va_start(values, format);
    const int written = std::vsnprintf(text, sizeof text, format, values);
    va_end(values);
    if (written < 0)
        return;

    glBindTexture(GL_TEXTURE_2D, fontImage.texture);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(x, y, 0.0);
    glListBase(fontBase - firstCode);
    if (halfSize)
        glScalef(0.5f, 0.5f, 1.0f);
    glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
    glPopMatrix();
}
