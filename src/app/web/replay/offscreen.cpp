// The headless host's context in the browser: the replay page's canvas, as
// large as the picture, never shown to anyone.
#include "app/headless/offscreen.h"

#include "app/picture.h"
#include "app/web/webgl_context.h"

bool openOffscreenContext(std::string* error)
{
    return openWebglCanvas("#canvas", pictureWidth, pictureHeight, error);
}

void closeOffscreenContext() { closeWebglCanvas(); }
