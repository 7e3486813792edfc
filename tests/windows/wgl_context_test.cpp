// The WGL context under Wine: made current on a hidden window, its entry
// points beyond OpenGL 1.1 found, a missing one null, and a window that
// cannot have one refused with a reason and nothing kept.
#include "host/win32/wgl_context.h"

#include <cstdio>
#include <string>

namespace {

int failures = 0;

void check(bool ok, const char* what)
{
    if (!ok) {
        std::printf("FAIL: %s\n", what);
        ++failures;
    }
}

} // namespace

int main()
{
    const HWND  window  = CreateWindowExA(0, "STATIC", "wgl", WS_POPUP, 0, 0, 64, 64, nullptr,
                                          nullptr, GetModuleHandleA(nullptr), nullptr);
    HDC         dc      = nullptr;
    HGLRC       context = nullptr;
    std::string error;
    const bool  made = createWglContext(window, &dc, &context, &error);
    check(made, ("a context on a hidden window: " + error).c_str());
    check(wglGetCurrentContext() == context && context, "the context is current");
    check(wglEntryPoint("glGenBuffers") != nullptr, "an entry point beyond 1.1");
    check(wglEntryPoint("glNoSuchFunctionAnywhere") == nullptr, "a missing entry point is null");
    destroyWglContext(window, dc, context);
    check(wglGetCurrentContext() == nullptr, "no context current once destroyed");
    DestroyWindow(window);

    // The window is gone: no device context, no pixel format.
    HDC         noDc      = reinterpret_cast<HDC>(1);
    HGLRC       noContext = reinterpret_cast<HGLRC>(1);
    std::string reason;
    check(!createWglContext(window, &noDc, &noContext, &reason), "a destroyed window is refused");
    check(!noDc && !noContext && !reason.empty(), "a refusal keeps nothing and says why");
    std::printf("%s\n", failures ? "WGL context: FAILED" : "WGL context: ok");
    return failures ? 1 : 0;
}
