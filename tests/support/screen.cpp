// The 640 x 480 picture read back, the screens' projections, and the pictures.
#include "screen.h"

#include "files.h"

#include "gfx/gl.h"
#include "gfx/images.h"
#include "host/headless/headless_host.h"
#include "host/view.h"

#include <unistd.h>

#include <algorithm>

Screen::Screen() : rgb(pictureWidth * pictureHeight * 3) { readPicture(rgb.data()); }

Rgba Screen::at(int x, int y) const
{
    const uint8_t* p = &rgb[(size_t(pictureHeight - 1 - y) * pictureWidth + size_t(x)) * 3];
    return {p[0], p[1], p[2], 255};
}

bool Screen::sameAs(Rgba c, int x, int y) const
{
    const Rgba p = at(x, y);
    return p.r == c.r && p.g == c.g && p.b == c.b;
}

Screen::Box Screen::inkBox(Rgba background) const
{
    Box box;
    for (int y = 0; y < pictureHeight; ++y)
        for (int x = 0; x < pictureWidth; ++x)
            if (!sameAs(background, x, y)) {
                box.left   = std::min(box.left, x);
                box.right  = std::max(box.right, x);
                box.bottom = std::min(box.bottom, y);
                box.top    = std::max(box.top, y);
            }
    return box;
}

void useScreenSpace()
{
    glViewport(0, 0, pictureWidth, pictureHeight);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, pictureWidth, 0, pictureHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void usePerspective() { setPerspectiveView(); }

void clearScreen(float r, float g, float b)
{
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void loadGraphicsFrom(const std::string& dir)
{
    InDirectory in(dir);
    loadGraphics();
}

::testing::AssertionResult loadGameGraphics()
{
    loadGraphicsFrom(SWARM_DATA_DIR);
    for (int k = 0; k < archiveEntryCount; ++k)
        if (archiveImages[k]->texture == 0)
            return ::testing::AssertionFailure() << archiveLayout[k].name << " of " SWARM_DATA_DIR
                                                 << "/graphics.dat did not load";
    return ::testing::AssertionSuccess();
}
