// The headless host's context in the browser: the replay page's canvas, as
// large as the picture, never shown to anyone.
#include "host/headless/offscreen.h"

#include "host/picture.h"
#include "host/web/webgl_context.h"

bool openOffscreenContext(std::string* error)
{
    return openWebglCanvas("#canvas", pictureWidth, pictureHeight, error);
}

void closeOffscreenContext() { closeWebglCanvas(); }
