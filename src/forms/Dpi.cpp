#include "forms/Dpi.hpp"

#include "forms/Handles.hpp"
#include "platform/win32/LateBound.hpp"

namespace varnex::forms {

namespace {

// The per-monitor functions came with Windows 10; the game's players may
// still run older systems, where the whole desktop has one DPI.
template <class Function>
Function* User32Function(const char* name) {
    return platform::win32::LateBound<Function>("user32.dll", name);
}

using GetDpiForWindowFn = UINT WINAPI(HWND);
using GetDpiForSystemFn = UINT WINAPI();
using GetDpiForMonitorFn = HRESULT WINAPI(HMONITOR, int, UINT*, UINT*);
using AdjustForDpiFn = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);

UINT ScreenDpi() {
    const ScopedDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

const DpiFunctions& SystemDpiFunctions() {
    static const DpiFunctions functions = [] {
        DpiFunctions bound;
        bound.forWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
        bound.forSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
        if (!bound.forWindow)
            bound.forMonitor = platform::win32::LateBound<GetDpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
        return bound;
    }();
    return functions;
}

UINT SystemDpi(const DpiFunctions& functions) {
    const UINT dpi = functions.forSystem ? functions.forSystem() : 0;
    return dpi ? dpi : ScreenDpi();
}

UINT WindowDpi(HWND hwnd, const DpiFunctions& functions) {
    if (const UINT dpi = functions.forWindow ? functions.forWindow(hwnd) : 0) return dpi;
    // Windows 8.1 knows each monitor's DPI, though not the window's.
    constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    UINT x = 0, y = 0;
    if (functions.forMonitor &&
        functions.forMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y) == S_OK && y)
        return y;
    return SystemDpi(functions);
}

void ScaleFrameWithDpi(HWND hwnd) {
    static const auto enable = User32Function<BOOL WINAPI(HWND)>("EnableNonClientDpiScaling");
    if (enable) (void)enable(hwnd);
}

SIZE WindowSizeFor(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi) {
    static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, client.cx, client.cy};
    const BOOL adjusted =
        adjustForDpi ? adjustForDpi(&rect, style, menu, exStyle, dpi) : AdjustWindowRectEx(&rect, style, menu, exStyle);
    if (!adjusted) return {rect.right, rect.bottom};
    return {rect.right - rect.left, rect.bottom - rect.top};
}

UINT FittingDpi(SIZE clientTwips, DWORD style, DWORD exStyle, bool menu, UINT dpi, const RECT& workArea) {
    // The frame, caption and menu bar keep the system's sizes at `dpi`;
    // only the client area can give way.
    const SIZE frame = WindowSizeFor(SIZE{0, 0}, style, exStyle, menu, dpi);
    return FittingDpi({clientTwips.cx, clientTwips.cy}, {frame.cx, frame.cy}, dpi, ToBox(workArea));
}

RECT WorkAreaAt(const RECT& area) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoA(MonitorFromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) return monitor.rcWork;
    RECT work{};
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return work;
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

UniqueFont MakeControlFont(UINT dpi) {
    LOGFONTA font{};
    font.lfHeight = -MulDiv(8, static_cast<int>(dpi), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynA(font.lfFaceName, "MS Shell Dlg 2", LF_FACESIZE);
    return UniqueFont(CreateFontIndirectA(&font));
}

}  // namespace varnex::forms
