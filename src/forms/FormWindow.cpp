#include "forms/FormWindow.hpp"

#include "forms/Dpi.hpp"
#include "forms/Frames.hpp"
#include "forms/Placement.hpp"

namespace varnex::forms {

FormWindow::~FormWindow() {
    // The derived parts are gone already: no message may reach them.
    if (hwnd_) SetWindowLongPtrA(hwnd_.get(), GWLP_USERDATA, 0);
    hwnd_.reset();
}

void FormWindow::Create(const char* className, int icon, const Text& caption, SIZE clientTwips, DWORD style) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterFormClass(instance, className, icon, &FormWindow::Trampoline);
    UniqueMenu menu = menuBar_.Take();
    clientTwips_ = clientTwips;
    style_ = style;
    hasMenu_ = menu != nullptr;
    // Laid out first for the primary monitor, where a window first appears.
    (void)Rescale(SystemDpi(), WorkAreaAt(RECT{0, 0, 1, 1}));
    const SIZE size = OuterSize(layoutDpi_, dpi_);
    if (CreateWindowExA(0, className, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                        menu.get(), instance, this))
        (void)menu.release();
    if (!IsOpen()) return;
    // The window may have landed on a monitor with another DPI or room.
    RECT placed{};
    GetWindowRect(Handle(), &placed);
    const RECT work = WorkAreaAt(placed);
    if (Rescale(WindowDpi(Handle()), work)) {
        const SIZE resized = OuterSize(layoutDpi_, dpi_);
        SetWindowPos(Handle(), nullptr, 0, 0, resized.cx, resized.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    KeepInside(work);
}

SIZE FormWindow::OuterSize(UINT layoutDpi, UINT dpi) const {
    return WindowSizeFor(SIZE{ToPixels(clientTwips_.cx, layoutDpi), ToPixels(clientTwips_.cy, layoutDpi)}, style_, 0,
                         hasMenu_, dpi);
}

void FormWindow::FitClientToLayout() {
    // The frame the system draws may not be the one it computes for the DPI
    // (an unscaled frame at the new DPI): the client area is measured, and
    // the window grows or shrinks by what it lacks or has too much.
    RECT client{}, window{};
    if (!GetClientRect(Handle(), &client) || !GetWindowRect(Handle(), &window)) return;
    const int wantX = ToPixels(clientTwips_.cx, layoutDpi_), wantY = ToPixels(clientTwips_.cy, layoutDpi_);
    const int dx = wantX - (client.right - client.left), dy = wantY - (client.bottom - client.top);
    if (dx == 0 && dy == 0) return;
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + dx, window.bottom - window.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::KeepInside(const RECT& workArea) {
    if (!IsOpen()) return;
    const RECT window = VisibleFrame(Handle());
    const Point at = KeptInside(ToBox(window), ToBox(workArea));
    if (at.x != window.left || at.y != window.top) MoveVisibleFrame(Handle(), at.x, at.y);
}

void FormWindow::SyncViews() {
    if (!IsOpen()) return;
    for (const auto& view : views_) view->Sync();
}

void FormWindow::InvalidateViews() {
    for (const auto& view : views_) view->Invalidate();
}

bool FormWindow::Navigate(MSG& message) { return IsOpen() && keys_.Navigate(Handle(), message); }

void FormWindow::PlaceBeside(HWND other, HWND keepClear) {
    if (!IsOpen() || !other || !IsWindow(other)) return;
    const RECT mine = VisibleFrame(Handle()), theirs = VisibleFrame(other);
    RECT clear = theirs;
    if (keepClear) GetWindowRect(keepClear, &clear);
    const Point at = PlacedBeside(ToBox(mine), ToBox(theirs), ToBox(clear), ToBox(WorkAreaAt(theirs)));
    MoveVisibleFrame(Handle(), at.x, at.y);
}

LRESULT CALLBACK FormWindow::Trampoline(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FormWindow*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->hwnd_.reset(hwnd);
        ScaleFrameWithDpi(hwnd);
    }
    auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->gate_.Forget(hwnd);
        (void)self->hwnd_.release();
        self->byId_.clear();
        self->views_.clear();
        self->OnDestroyed();
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    return self->OnMessage(message, wParam, lParam);
}

ControlView* FormWindow::ViewOf(int id) {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : found->second;
}

bool FormWindow::Rescale(UINT dpi, const RECT& workArea) {
    const UINT layoutDpi = FittingDpi(clientTwips_, style_, 0, hasMenu_, dpi, workArea);
    if (font_ && dpi == dpi_ && layoutDpi == layoutDpi_) return false;
    dpi_ = dpi;
    layoutDpi_ = layoutDpi;
    // Everything in the client area, its font and pictures too, is drawn
    // at the layout's DPI, so that a smaller window keeps its proportions.
    UniqueFont font = MakeControlFont(layoutDpi_);
    for (const auto& view : views_) view->Rescale(ViewSite{Handle(), layoutDpi_, font.get()});
    font_ = std::move(font);
    return true;
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const Gate::From from(gate_, Handle());
    switch (message) {
        case WM_COMMAND:
            // A menu's choice comes without a control handle.
            if (lParam == 0)
                menuBar_.Choose(LOWORD(wParam), gate_);
            else if (ControlView* view = ViewOf(LOWORD(wParam)))
                view->OnCommand(HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            if (ControlView* view = ViewOf(GetDlgCtrlID(reinterpret_cast<HWND>(lParam))))
                if (const HBRUSH brush = view->OnColor(reinterpret_cast<HDC>(wParam)))
                    return reinterpret_cast<LRESULT>(brush);
            break;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (ControlView* view = ViewOf(static_cast<int>(item.CtlID))) {
                view->OnDraw(item);
                return TRUE;
            }
            break;
        }
        case WM_ACTIVATE:
            // Like a dialog, the window gives the keyboard back to the control
            // that had it when the player switched away.
            if (LOWORD(wParam) == WA_INACTIVE) {
                keys_.KeepFocus(Handle());
            } else if (HIWORD(wParam) == 0 && keys_.RestoreFocus(Handle())) {
                return 0;
            }
            break;
        case WM_SYSCOMMAND:
            // A window being minimised may lose the keyboard before it hears
            // that it is no longer active.
            if ((wParam & 0xFFF0) == SC_MINIMIZE) keys_.KeepFocus(Handle());
            break;
        case WM_SETFOCUS:
            // The window itself gets the keyboard when it is restored: it goes
            // on to the control that had it.
            if (keys_.RestoreFocus(Handle())) return 0;
            break;
        case WM_GETDPISCALEDSIZE: {
            // The size the layout takes at the new DPI, so that the rectangle
            // WM_DPICHANGED then suggests holds it exactly.
            RECT now{};
            GetWindowRect(Handle(), &now);
            const UINT dpi = static_cast<UINT>(wParam);
            const UINT layoutDpi = FittingDpi(clientTwips_, style_, 0, hasMenu_, dpi, WorkAreaAt(now));
            *reinterpret_cast<SIZE*>(lParam) = OuterSize(layoutDpi, dpi);
            return TRUE;
        }
        case WM_DPICHANGED: {
            // Windows 8.1, and 10 1607 with per-monitor DPI of the first kind,
            // suggest the old rectangle scaled by the ratio of the DPIs while
            // the frame keeps its size: only the place is taken, and the size
            // comes from the layout at the new DPI.
            const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
            const RECT work = WorkAreaAt(suggested);
            (void)Rescale(HIWORD(wParam), work);
            const SIZE size = OuterSize(layoutDpi_, dpi_);
            SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, size.cx, size.cy,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            FitClientToLayout();
            KeepInside(work);
            return 0;
        }
        case WM_SETCURSOR:
            if (static_cast<short>(LOWORD(lParam)) == HTERROR) {
                const UINT mouse = HIWORD(lParam);
                if (mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN || mouse == WM_MBUTTONDOWN ||
                    mouse == WM_NCLBUTTONDOWN || mouse == WM_NCRBUTTONDOWN)
                    BringBoxForward();
                break;
            }
            // A handler at work: what the player clicks now waits for it.
            if (gate_.Busy()) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
                return TRUE;
            }
            break;
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_ENDSESSION:
            if (wParam) OnSessionEnding();
            break;
        default:
            break;
    }
    return DefWindowProcA(Handle(), message, wParam, lParam);
}

}  // namespace varnex::forms
