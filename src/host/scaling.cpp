// Scaling the 640 x 480 picture into a drawable: integer and sharp-bilinear fill.
#include "host/scaling.h"
#include "host/picture.h"

namespace {

PixelRect centred(int width, int height, int w, int h)
{
    return PixelRect{(width - w) / 2, (height - h) / 2, w, h};
}

// The largest 4:3 area that fits.
PixelRect fillRect(int width, int height)
{
    int w = width, h = width * 3 / 4;
    if (h > height) {
        h = height;
        w = height * 4 / 3;
    }
    // A drawable of a pixel or two still gets a picture of one pixel.
    w = w < 1 ? 1 : w;
    h = h < 1 ? 1 : h;
    return centred(width, height, w, h);
}

} // namespace

ScalePlan planScaling(int width, int height, ScaleMode mode)
{
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    const PixelRect fill    = fillRect(width, height);
    const int       whole   = width / pictureWidth < height / pictureHeight ? width / pictureWidth
                                                                            : height / pictureHeight;
    bool            integer = mode == ScaleMode::Integer;
    if (mode == ScaleMode::Auto)
        integer = 100 * whole * pictureHeight >= autoIntegerMinPercent * fill.height;
    // Smaller than the picture: only filtering down can show all of it.
    if (whole < 1)
        integer = false;
    if (integer)
        return ScalePlan{centred(width, height, whole * pictureWidth, whole * pictureHeight), whole,
                         false};
    if (fill.width % pictureWidth == 0 && fill.height == fill.width / pictureWidth * pictureHeight)
        return ScalePlan{fill, fill.width / pictureWidth, false};
    const int multiple = (fill.height + pictureHeight - 1) / pictureHeight;
    return ScalePlan{fill, multiple, true};
}
