// The headless host's OpenGL context on Windows: a hidden 640 x 480 window
// with a WGL context. The game draws into a picture-sized frame buffer of its
// own where the context has frame buffer objects: a window that is never
// shown owns none of its pixels, and drivers may leave them undefined.
#include "host/headless/offscreen.h"

#include "host/picture.h"
#include "host/present/gl_calls.h"
#include "host/present/scaler.h"
#include "host/win32/wgl_context.h"

namespace {

const char offscreenClass[] = "SwarmOffscreen";

HWND  offscreenWindow;
HDC   offscreenDc;
HGLRC offscreenContext;
// Bound for drawing and reading while the context is open; all zero when the
// context has no frame buffer objects and the window's pixels are used.
PictureBuffer offscreenPicture;

} // namespace

bool openOffscreenContext(std::string* error)
{
    const HINSTANCE instance    = GetModuleHandleA(nullptr);
    WNDCLASSA       windowClass = {};
    windowClass.style           = CS_OWNDC;
    windowClass.lpfnWndProc     = DefWindowProcA;
    windowClass.hInstance       = instance;
    windowClass.lpszClassName   = offscreenClass;
    if (!RegisterClassA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        *error = "Cannot register the offscreen window's class";
        return false;
    }
    // A popup has no frame, so the window is all picture; it is never shown.
    offscreenWindow = CreateWindowExA(0, offscreenClass, "Swarm", WS_POPUP, 0, 0, pictureWidth,
                                      pictureHeight, nullptr, nullptr, instance, nullptr);
    if (!offscreenWindow) {
        *error = "Cannot make the offscreen window";
        return false;
    }
    if (!createWglContext(offscreenWindow, &offscreenDc, &offscreenContext, error)) {
        DestroyWindow(offscreenWindow);
        offscreenWindow = nullptr;
        return false;
    }
    if (lookUpGlCalls(wglEntryPoint) && createPictureBuffer(&offscreenPicture, true))
        gl.bindFramebuffer(GL_FRAMEBUFFER, offscreenPicture.framebuffer);
    return true;
}

void closeOffscreenContext()
{
    if (offscreenPicture.framebuffer) {
        gl.bindFramebuffer(GL_FRAMEBUFFER, 0);
        deletePictureBuffer(&offscreenPicture);
    }
    destroyWglContext(offscreenWindow, offscreenDc, offscreenContext);
    if (offscreenWindow)
        DestroyWindow(offscreenWindow);
    offscreenWindow  = nullptr;
    offscreenDc      = nullptr;
    offscreenContext = nullptr;
}
