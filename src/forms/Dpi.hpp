// The windows are laid out in twips, 1440 to the inch, and turned into
// pixels with the DPI of the monitor each window is on.
#pragma once

#include "forms/Windows.hpp"

#include "forms/Handles.hpp"
#include "forms/Placement.hpp"

// Sent from Windows 8.1 on when a window moves to a monitor of another DPI;
// the headers declare it only to programs made for newer systems than the
// oldest this one runs on, where it simply never comes.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace varnex::forms {

struct TwipsRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The DPI functions of newer systems, bound at run time; each may be
// missing. Windows 10 (1607) has them all, 8.1 only the monitor's.
struct DpiFunctions {
    UINT(WINAPI* forWindow)(HWND) = nullptr;
    HRESULT(WINAPI* forMonitor)(HMONITOR, int, UINT*, UINT*) = nullptr;
    UINT(WINAPI* forSystem)() = nullptr;
};
// Those this system has. The monitor's (shcore) is bound only where the
// window's is missing.
[[nodiscard]] const DpiFunctions& SystemDpiFunctions();

// The DPI of the primary monitor, where a window first appears.
[[nodiscard]] UINT SystemDpi(const DpiFunctions& functions = SystemDpiFunctions());
// The DPI of the monitor a window is on: the window's, else its monitor's
// (Windows 8.1), else the system's where Windows predates per-monitor DPI.
[[nodiscard]] UINT WindowDpi(HWND hwnd, const DpiFunctions& functions = SystemDpiFunctions());
// Lets the system scale the frame and caption of a window with per-monitor
// DPI of the first kind (Windows 10 1607); called in WM_NCCREATE.
void ScaleFrameWithDpi(HWND hwnd);
// Outer size of a window at `dpi` whose client area is `client` pixels.
[[nodiscard]] SIZE WindowSizeFor(SIZE client, DWORD style, DWORD exStyle, bool menu, UINT dpi);
// The DPI to lay out a client area of `clientTwips` at, so that the whole
// window, its frame drawn at the monitor's `dpi`, fits `workArea`: `dpi`
// itself where it fits, else the largest lower one that does (never below
// half of it, where the text could no longer be read).
[[nodiscard]] UINT FittingDpi(SIZE clientTwips, DWORD style, DWORD exStyle, bool menu, UINT dpi, const RECT& workArea);
// The same rectangle in the placement's plain numbers, and back.
[[nodiscard]] inline Box ToBox(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
// The work area of the monitor that holds most of `area`.
[[nodiscard]] RECT WorkAreaAt(const RECT& area);
// The dialog font of the controls at a DPI.
[[nodiscard]] UniqueFont MakeControlFont(UINT dpi);

}  // namespace varnex::forms
