#include "win32/Dpi.hpp"

#include "platform/win32/LateBound.hpp"

namespace varnex::win32 {

namespace {

// The per-monitor functions came with Windows 10; the game's players may
// still run older systems, where the whole desktop has one DPI.
template <class Function>
Function* User32Function(const char* name) {
    return winapi::LateBound<Function>("user32.dll", name);
}

using GetDpiForWindowFn = UINT WINAPI(HWND);
using GetDpiForSystemFn = UINT WINAPI();
using AdjustForDpiFn = BOOL WINAPI(RECT*, DWORD, BOOL, DWORD, UINT);

UINT ScreenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT SystemDpi() {
    static const auto getDpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    return getDpiForSystem ? getDpiForSystem() : ScreenDpi();
}

UINT WindowDpi(HWND hwnd) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0;
    return dpi ? dpi : SystemDpi();
}

SIZE WindowSizeFor(SIZE clientTwips, DWORD style, DWORD exStyle, bool menu, UINT dpi) {
    static const auto adjustForDpi = User32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT rect{0, 0, ToPixels(clientTwips.cx, dpi), ToPixels(clientTwips.cy, dpi)};
    const BOOL adjusted = adjustForDpi ? adjustForDpi(&rect, style, menu, exStyle, dpi)
                                       : AdjustWindowRectEx(&rect, style, menu, exStyle);
    if (!adjusted) return {rect.right, rect.bottom};
    return {rect.right - rect.left, rect.bottom - rect.top};
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

}  // namespace varnex::win32
