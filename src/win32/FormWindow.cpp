#include "win32/FormWindow.hpp"

#include <algorithm>

#include "platform/win32/LateBound.hpp"
#include "win32/Dpi.hpp"
#include "win32/Resources.hpp"

namespace varnex::win32 {

namespace {

void RegisterFormClass(HINSTANCE instance, const char* className, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExA(instance, className, &windowClass)) return;
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(VARNEX_ICON));
    windowClass.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(VARNEX_ICON), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    (void)RegisterClassExA(&windowClass);
}

// The part of a window that can be seen. On Windows 10 and 11 the window's
// rectangle also holds invisible borders for resizing, several pixels wide:
// a window placed by it would leave a gap beside the other, or hang out of
// the work area.
RECT VisibleFrame(HWND window) {
    RECT whole{};
    GetWindowRect(window, &whole);
    using GetAttribute = HRESULT WINAPI(HWND, DWORD, void*, DWORD);
    static const auto getAttribute = winapi::LateBound<GetAttribute>("dwmapi.dll", "DwmGetWindowAttribute");
    constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
    RECT frame{};
    if (getAttribute && getAttribute(window, kExtendedFrameBounds, &frame, sizeof frame) == S_OK &&
        frame.right > frame.left && frame.bottom > frame.top)
        return frame;
    return whole;
}

// Moves `window` so that its visible frame's top left corner lies at `left`, `top`.
void MoveVisibleFrame(HWND window, int left, int top) {
    RECT whole{};
    GetWindowRect(window, &whole);
    const RECT frame = VisibleFrame(window);
    SetWindowPos(window, nullptr, left - (frame.left - whole.left), top - (frame.top - whole.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

FormWindow::~FormWindow() {
    // The derived parts are gone already: no message may reach them.
    if (hwnd_) SetWindowLongPtrA(hwnd_.get(), GWLP_USERDATA, 0);
    hwnd_.reset();
}

void FormWindow::Create(const char* className, const Text& caption, SIZE clientTwips, DWORD style, UniqueMenu menu) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterFormClass(instance, className, &FormWindow::Trampoline);
    clientTwips_ = clientTwips;
    style_ = style;
    hasMenu_ = menu != nullptr;
    // Laid out first for the primary monitor, where a window first appears.
    const RECT primary{0, 0, 1, 1};
    (void)Rescale(SystemDpi(), WorkAreaAt(primary));
    const SIZE size = OuterSize();
    if (CreateWindowExA(0, className, caption.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                        menu.get(), instance, this))
        (void)menu.release();
    if (!IsOpen()) return;
    // The window may have landed on a monitor with another DPI or room.
    RECT placed{};
    GetWindowRect(Handle(), &placed);
    const RECT work = WorkAreaAt(placed);
    if (Rescale(WindowDpi(Handle()), work)) {
        const SIZE resized = OuterSize();
        SetWindowPos(Handle(), nullptr, 0, 0, resized.cx, resized.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    KeepInside(work);
}

SIZE FormWindow::OuterSize() const {
    return WindowSizeFor(SIZE{ToPixels(clientTwips_.cx, layoutDpi_), ToPixels(clientTwips_.cy, layoutDpi_)}, style_, 0,
                         hasMenu_, dpi_);
}

void FormWindow::KeepInside(const RECT& workArea) {
    if (!IsOpen()) return;
    const RECT window = VisibleFrame(Handle());
    const int width = window.right - window.left, height = window.bottom - window.top;
    const int left = std::max<int>(workArea.left, std::min<int>(window.left, workArea.right - width));
    const int top = std::max<int>(workArea.top, std::min<int>(window.top, workArea.bottom - height));
    if (left != window.left || top != window.top) MoveVisibleFrame(Handle(), left, top);
}

void FormWindow::SyncViews() {
    if (!IsOpen()) return;
    for (const auto& view : views_) view->Sync();
}

void FormWindow::InvalidateViews() {
    for (const auto& view : views_) view->Invalidate();
}

bool FormWindow::Navigate(MSG& message) {
    if (!IsOpen() || (message.hwnd != Handle() && !IsChild(Handle(), message.hwnd))) return false;
    // Where the player's input finds the keyboard is where it comes back
    // to after a box: a window disabled under a box loses the keyboard
    // before it hears that it is no longer active.
    if ((message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
        (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST))
        KeepFocus();
    if (message.message == WM_KEYDOWN && OnKeyDown(message)) return true;
    return IsDialogMessageA(Handle(), &message) != FALSE;
}

bool FormWindow::OnKeyDown(const MSG& message) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    switch (message.wParam) {
    case VK_ESCAPE:
        // Taken before any control sees it: a multi-line text box would
        // otherwise close the window, and the main window's comments with it.
        OnEscape();
        return true;
    case VK_TAB:
        // Taken before the text boxes too, which would keep it to
        // themselves. Ctrl+Tab stays theirs.
        if (control) return false;
        MoveFocus(GetKeyState(VK_SHIFT) < 0);
        return true;
    case VK_UP:
    case VK_LEFT:
        return StepOption(true);
    case VK_DOWN:
    case VK_RIGHT:
        return StepOption(false);
    default:
        break;
    }
    // Held down, Enter opens once.
    const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
    if (control || repeated) return false;
    ControlView* view = ViewOf(GetDlgCtrlID(message.hwnd));
    return view && view->Handle() == message.hwnd && view->OnKey(message.wParam);
}

void FormWindow::MoveFocus(bool backwards) {
    const HWND focus = GetFocus();
    const HWND next = GetNextDlgTabItem(Handle(), IsChild(Handle(), focus) ? focus : nullptr, backwards);
    if (!next) return;
    // A text box reached by Tab has its text selected, as in a dialog.
    if ((SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

bool FormWindow::StepOption(bool backwards) {
    const HWND focus = GetFocus();
    if (!IsChild(Handle(), focus) || (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) == 0) return false;
    // The next option shown and enabled, round the group; selecting it is a
    // click on it.
    const HWND next = GetNextDlgGroupItem(Handle(), focus, backwards);
    if (!next || next == focus) return true;
    SetFocus(next);
    if (ControlView* view = ViewOf(GetDlgCtrlID(next))) view->OnCommand(BN_CLICKED);
    return true;
}

void FormWindow::KeepFocus() {
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus)) focus_ = focus;
}

bool FormWindow::RestoreFocus() {
    const auto usable = [this](HWND control) {
        return control && IsChild(Handle(), control) && IsWindowVisible(control) && IsWindowEnabled(control);
    };
    // A minimised window keeps no control's keyboard: keys would act on
    // controls nobody sees.
    if (IsIconic(Handle())) return false;
    HWND target = focus_;
    // A control that hid itself meanwhile (behind a box) hands on as it
    // would have with the keyboard.
    if (!usable(target))
        if (const ControlView* view = target ? ViewOf(GetDlgCtrlID(target)) : nullptr) target = view->FocusHome();
    if (!usable(target)) target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (!target) return false;
    SetFocus(target);
    return true;
}

void FormWindow::PlaceBeside(HWND other, HWND keepClear) {
    if (!IsOpen() || !other || !IsWindow(other)) return;
    const RECT mine = VisibleFrame(Handle()), theirs = VisibleFrame(other);
    const RECT work = WorkAreaAt(theirs);
    const int width = mine.right - mine.left;
    int left = 0;
    if (theirs.right + width <= work.right) {
        left = theirs.right;
    } else if (theirs.left - width >= work.left) {
        left = theirs.left - width;
    } else {
        // No room beside: over the other window, but not over the list the
        // player picks addons from, beside which this window is read.
        RECT clear = theirs;
        if (keepClear) GetWindowRect(keepClear, &clear);
        if (work.right - width >= clear.right)
            left = std::max<int>(clear.right, std::min<int>(theirs.right - width, work.right - width));
        else if (clear.left - width >= work.left)
            left = clear.left - width;
        else
            left = work.right - width;
    }
    MoveVisibleFrame(Handle(), left, theirs.top);
    KeepInside(work);
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

void FormWindow::BringBoxForward() {
    // The box of the program that is up: the shell's prompt has no owner,
    // so the system would not bring it forward for a click on this window.
    struct Search {
        DWORD process;
        HWND found = nullptr;
    } search{GetCurrentProcessId()};
    EnumWindows(
        [](HWND window, LPARAM param) noexcept CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (process == s.process && IsWindowVisible(window) && IsWindowEnabled(window) &&
                lstrcmpA(name, "#32770") == 0)
                s.found = window;
            return s.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    SetWindowPos(search.found, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(search.found);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const Gate::From from(gate_, Handle());
    switch (message) {
    case WM_COMMAND:
        // A menu item (or a dialog key with no control behind it) comes
        // without a control handle.
        if (lParam == 0)
            OnMenu(LOWORD(wParam));
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
            KeepFocus();
        } else if (HIWORD(wParam) == 0 && RestoreFocus()) {
            return 0;
        }
        break;
    case WM_SYSCOMMAND:
        // A window being minimised may lose the keyboard before it hears
        // that it is no longer active.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) KeepFocus();
        break;
    case WM_SETFOCUS:
        // The window itself gets the keyboard when it is restored: it goes
        // on to the control that had it.
        if (RestoreFocus()) return 0;
        break;
    case WM_GETDPISCALEDSIZE: {
        // The size the layout takes at the new DPI, so that the rectangle
        // WM_DPICHANGED then suggests holds it exactly.
        RECT now{};
        GetWindowRect(Handle(), &now);
        const UINT dpi = static_cast<UINT>(wParam);
        const UINT layoutDpi = FittingDpi(clientTwips_, style_, 0, hasMenu_, dpi, WorkAreaAt(now));
        *reinterpret_cast<SIZE*>(lParam) = WindowSizeFor(
            SIZE{ToPixels(clientTwips_.cx, layoutDpi), ToPixels(clientTwips_.cy, layoutDpi)}, style_, 0, hasMenu_, dpi);
        return TRUE;
    }
    case WM_DPICHANGED: {
        const auto& suggested = *reinterpret_cast<const RECT*>(lParam);
        const RECT work = WorkAreaAt(suggested);
        (void)Rescale(HIWORD(wParam), work);
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
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

}  // namespace varnex::win32
