// The WebGL 2 context on a page canvas.
#include "app/web/webgl_context.h"

#include "app/web/gl/legacy_gl.h"

#include <emscripten/html5.h>

namespace {

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;

} // namespace

bool openWebglCanvas(const char* selector, int width, int height, std::string* error)
{
    if (width > 0 && height > 0)
        emscripten_set_canvas_element_size(selector, width, height);
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.majorVersion = 2;
    attributes.minorVersion = 0;
    attributes.alpha        = false;
    attributes.depth        = true;
    attributes.stencil      = false;
    attributes.antialias    = false;
    context                 = emscripten_webgl_create_context(selector, &attributes);
    if (context <= 0) {
        *error = "this browser cannot draw with WebGL 2";
        return false;
    }
    emscripten_webgl_make_context_current(context);
    if (!startLegacyGl()) {
        *error = "the drawing shaders do not compile on this browser";
        closeWebglCanvas();
        return false;
    }
    return true;
}

void closeWebglCanvas()
{
    if (context > 0)
        emscripten_webgl_destroy_context(context);
    context = 0;
}
