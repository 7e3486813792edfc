// The game's window on Win32 and its WGL context: a WS_POPUP window over the
// monitor for fullscreen (no mode change), a captioned one otherwise.
#include "host/win32/window.h"

#include "gfx/font.h"
#include "gfx/gl.h"
#include "gfx/images.h"
#include "host/picture.h"
#include "host/present/present.h"
#include "host/scaling.h"
#include "host/view.h"
#include "host/win32/wgl_context.h"
#include "host/win32/win32_host.h"

#include <windows.h>

#include <vector>

namespace {

const wchar_t* const className   = L"SwarmWindow";
constexpr DWORD      popupStyle  = WS_POPUP | WS_VISIBLE;
constexpr DWORD      windowStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
const LPCWSTR        arrowCursor = MAKEINTRESOURCEW(32512); // IDC_ARROW, as a wide name

HWND  window         = nullptr;
HDC   dc             = nullptr;
HGLRC context        = nullptr;
bool  fullscreen     = true;
bool  closeRequested = false;
bool  focusLost      = false;
RECT  windowedPlace  = {0, 0, 0, 0}; // right 0: not yet known

// The swap interval extension, looked up once the context is current.
using SwapIntervalFunction = BOOL(WINAPI*)(int);

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    reinterpret_cast<std::vector<HMONITOR>*>(list)->push_back(monitor);
    return TRUE;
}

// The chosen monitor, in the order Windows lists them; the first when there
// is no such one.
HMONITOR chosenMonitor(int index)
{
    std::vector<HMONITOR> monitors;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (index >= 0 && index < static_cast<int>(monitors.size()))
        return monitors[static_cast<std::size_t>(index)];
    logLine("there is no display " + std::to_string(index) + "; using display 0");
    return monitors.empty() ? MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY) : monitors[0];
}

MONITORINFO monitorInfo(HMONITOR monitor)
{
    MONITORINFO info = {};
    info.cbSize      = sizeof info;
    if (!GetMonitorInfoW(monitor, &info))
        info.rcMonitor = info.rcWork = RECT{0, 0, pictureWidth, pictureHeight};
    return info;
}

// The default window: twice the picture where that fits the work area with
// the window's frame, else the largest whole multiple that does, at least
// the picture; centred on the work area.
RECT defaultWindowPlace(HMONITOR monitor)
{
    const RECT work     = monitorInfo(monitor).rcWork;
    int        multiple = 2;
    RECT       place    = {};
    for (;; --multiple) {
        place = RECT{0, 0, multiple * pictureWidth, multiple * pictureHeight};
        AdjustWindowRectEx(&place, windowStyle, FALSE, 0);
        if (multiple == 1 || (place.right - place.left <= work.right - work.left &&
                              place.bottom - place.top <= work.bottom - work.top))
            break;
    }
    const int w = place.right - place.left, h = place.bottom - place.top;
    const int x = work.left + (work.right - work.left - w) / 2;
    const int y = work.top + (work.bottom - work.top - h) / 2;
    return RECT{x, y, x + w, y + h};
}

void placeWindow(DWORD style, const RECT& place)
{
    SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowPos(window, HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_FRAMECHANGED | SWP_SHOWWINDOW);
}

// Whether the mouse is over the picture, where the cursor is hidden.
bool overPicture(POINT at)
{
    RECT client;
    GetClientRect(window, &client);
    const PixelRect r = planScaling(client.right > 0 ? client.right : 1,
                                    client.bottom > 0 ? client.bottom : 1, displaySettings.scale)
                            .picture;
    const int fromBottom = client.bottom - 1 - at.y;
    return at.x >= r.x && at.x < r.x + r.width && fromBottom >= r.y && fromBottom < r.y + r.height;
}

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: closeRequested = true; return 0;
    case WM_KILLFOCUS: focusLost = true; break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: ValidateRect(hwnd, nullptr); return 0;
    case WM_SYSCOMMAND:
        // No menu on Alt or F10, no screen saver and no monitor power-down.
        switch (wParam & 0xFFF0) {
        case SC_KEYMENU:
        case SC_SCREENSAVE:
        case SC_MONITORPOWER: return 0;
        default: break;
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT at;
            GetCursorPos(&at);
            ScreenToClient(hwnd, &at);
            SetCursor(fullscreen || overPicture(at) ? nullptr : LoadCursorW(nullptr, arrowCursor));
            return TRUE;
        }
        break;
    case WM_GETMINMAXINFO: {
        // A window is never made smaller than half the picture.
        RECT least = {0, 0, pictureWidth / 2, pictureHeight / 2};
        AdjustWindowRectEx(&least, windowStyle, FALSE, 0);
        auto* limits             = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize.x = least.right - least.left;
        limits->ptMinTrackSize.y = least.bottom - least.top;
        return 0;
    }
    case WM_DPICHANGED:
        if (!fullscreen) {
            const RECT* place = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd, nullptr, place->left, place->top, place->right - place->left,
                         place->bottom - place->top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool registerWindowClass()
{
    WNDCLASSEXW type   = {};
    type.cbSize        = sizeof type;
    type.style         = CS_OWNDC;
    type.lpfnWndProc   = windowProcedure;
    type.hInstance     = GetModuleHandleW(nullptr);
    type.hIcon         = LoadIconW(type.hInstance, MAKEINTRESOURCEW(1));
    type.hCursor       = nullptr;
    type.lpszClassName = className;
    return RegisterClassExW(&type) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The window as the present code sees it.
void drawableSize(int* w, int* h)
{
    RECT client = {};
    GetClientRect(window, &client);
    *w = client.right > 0 ? client.right : 1;
    *h = client.bottom > 0 ? client.bottom : 1;
}

int depthBits()
{
    PIXELFORMATDESCRIPTOR format = {};
    const int             index  = GetPixelFormat(dc);
    return index > 0 && DescribePixelFormat(dc, index, sizeof format, &format) ? format.cDepthBits
                                                                               : 0;
}

void swap() { SwapBuffers(dc); }

bool swapWithoutWaiting()
{
    const auto setInterval =
        reinterpret_cast<SwapIntervalFunction>(wglEntryPoint("wglSwapIntervalEXT"));
    return setInterval && setInterval(0);
}

double refreshRate()
{
    MONITORINFOEXW info = {};
    info.cbSize         = sizeof info;
    DEVMODEW mode       = {};
    mode.dmSize         = sizeof mode;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info) ||
        !EnumDisplaySettingsW(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
        return 0.0;
    // 0 and 1 stand for the hardware's default rate: not known.
    return mode.dmDisplayFrequency > 1 ? mode.dmDisplayFrequency : 0.0;
}

void* procAddress(const char* name) { return wglEntryPoint(name); }

void closeWindow()
{
    if (context) {
        stopPresenting();
        destroyWglContext(window, dc, context);
    }
    context = nullptr;
    dc      = nullptr;
    if (window)
        DestroyWindow(window);
    window = nullptr;
}

bool fail(std::string* error, const std::string& what)
{
    *error = what;
    closeWindow();
    return false;
}

} // namespace

DisplaySettings displaySettings;

bool createDisplayWindow(std::string* error)
{
    if (!registerWindowClass())
        return fail(error, "Cannot register the game's window class");
    const HMONITOR monitor = chosenMonitor(displaySettings.display);
    fullscreen             = !displaySettings.window;
    const RECT place = fullscreen ? monitorInfo(monitor).rcMonitor : defaultWindowPlace(monitor);
    windowedPlace    = fullscreen ? RECT{0, 0, 0, 0} : place;
    window =
        CreateWindowExW(0, className, L"Swarm!", fullscreen ? popupStyle : windowStyle, place.left,
                        place.top, place.right - place.left, place.bottom - place.top, nullptr,
                        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return fail(error, "Cannot open the game's window");
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    std::string reason;
    if (!createWglContext(window, &dc, &context, &reason))
        return fail(error, reason);
    if (!glGetString(GL_VERSION))
        return fail(error, "No OpenGL 1.1 in the window's context");
    // No present thread: a Windows driver presents in the game's frame.
    const PresentWindow target = {drawableSize, depthBits,   swap,    swapWithoutWaiting,
                                  refreshRate,  procAddress, nullptr, nullptr,
                                  nullptr,      nullptr};
    if (!startPresenting(target, displaySettings.scale, &reason))
        return fail(error, "Cannot present the picture: " + reason);
    glViewport(0, 0, pictureWidth, pictureHeight);
    // No screen saver and no display power-down while the game runs.
    SetThreadExecutionState(ES_CONTINUOUS | ES_DISPLAY_REQUIRED);
    setPerspectiveView();
    loadGraphics();
    return true;
}

void destroyDisplayWindow()
{
    SetThreadExecutionState(ES_CONTINUOUS);
    if (context)
        releaseFont();
    closeWindow();
}

void toggleDisplayFullscreen()
{
    if (!window)
        return;
    const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (!fullscreen) {
        GetWindowRect(window, &windowedPlace);
        placeWindow(popupStyle, monitorInfo(monitor).rcMonitor);
    } else {
        if (windowedPlace.right == 0)
            windowedPlace = defaultWindowPlace(monitor);
        placeWindow(windowStyle, windowedPlace);
    }
    fullscreen = !fullscreen;
}

bool takeCloseRequest()
{
    const bool asked = closeRequested;
    closeRequested   = false;
    return asked;
}

bool takeFocusLoss()
{
    const bool lost = focusLost;
    focusLost       = false;
    return lost;
}
