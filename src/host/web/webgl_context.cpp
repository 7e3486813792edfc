// The WebGL 2 context on a page canvas.
#include "host/web/webgl_context.h"

#include "host/web/gl/legacy_gl.h"

#include <emscripten/html5.h>

namespace {

EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = 0;
std::string                     canvas;
void (*whenLost)()     = nullptr;
void (*whenRestored)() = nullptr;

// Returning true prevents the default, without which the context never
// comes back.
EM_BOOL contextLost(int, const void*, void*)
{
    if (whenLost)
        whenLost();
    return EM_TRUE;
}

EM_BOOL contextRestored(int, const void*, void*)
{
    emscripten_webgl_make_context_current(context);
    // Should it fail, the context was lost again: the next restore retries.
    if (startLegacyGl() && whenRestored)
        whenRestored();
    return EM_TRUE;
}

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
    canvas                  = selector;
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

void watchWebglContext(void (*lost)(), void (*restored)())
{
    whenLost     = lost;
    whenRestored = restored;
    emscripten_set_webglcontextlost_callback(canvas.c_str(), nullptr, false, contextLost);
    emscripten_set_webglcontextrestored_callback(canvas.c_str(), nullptr, false, contextRestored);
}
