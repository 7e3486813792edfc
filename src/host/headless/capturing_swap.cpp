// The headless host's swap: keeps the picture when asked to, and hands the
// frame's drawing to the renderer.
#include "host/headless/headless_host.h"

#include "gfx/gl.h"
#include "system/services.h"

#include <cstring>

void readPicture(unsigned char* rgb)
{
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, pictureWidth, pictureHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    // OpenGL's rows run bottom to top; pictures are stored top row first.
    const size_t  row = pictureWidth * 3;
    unsigned char tmp[pictureWidth * 3];
    for (int y = 0; y < pictureHeight / 2; ++y) {
        unsigned char* a = rgb + y * row;
        unsigned char* b = rgb + (pictureHeight - 1 - y) * row;
        std::memcpy(tmp, a, row);
        std::memcpy(a, b, row);
        std::memcpy(b, tmp, row);
    }
}

void headlessSwap()
{
    if (headlessHost.picture) {
        readPicture(headlessHost.picture);
        headlessHost.pictureTaken = true;
    }
    glFlush();
}

void installCapturingSwap() { hostServices.swapBuffers = headlessSwap; }
