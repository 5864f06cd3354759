#include "forms/DialogKeys.hpp"

namespace varnex::forms {

bool DialogKeys::Navigate(HWND window, MSG& message) {
    if (message.hwnd != window && !IsChild(window, message.hwnd)) return false;
    // Where the player's input finds the keyboard is where it comes back
    // to after a box: a window disabled under a box loses the keyboard
    // before it hears that it is no longer active.
    if ((message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
        (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST))
        KeepFocus(window);
    if (message.message == WM_KEYDOWN && OnKeyDown(window, message)) return true;
    return IsDialogMessageA(window, &message) != FALSE;
}

bool DialogKeys::OnKeyDown(HWND window, const MSG& message) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    switch (message.wParam) {
        case VK_ESCAPE:
            // Taken before any control sees it: a multi-line text box would
            // otherwise close the window, and the main window's comments with it.
            onEscape_();
            return true;
        case VK_TAB:
            // Taken before the text boxes too, which would keep it to
            // themselves. Ctrl+Tab stays theirs.
            if (control) return false;
            MoveFocus(window, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_UP:
        case VK_LEFT:
            return StepOption(window, Step::Backwards);
        case VK_DOWN:
        case VK_RIGHT:
            return StepOption(window, Step::Forwards);
        default:
            break;
    }
    // Held down, Enter opens once.
    const bool repeated = (message.lParam & (LPARAM{1} << 30)) != 0;
    if (control || repeated) return false;
    ControlView* view = viewOf_(GetDlgCtrlID(message.hwnd));
    return view && view->Handle() == message.hwnd && view->OnKey(message.wParam);
}

void DialogKeys::MoveFocus(HWND window, bool backwards) {
    const HWND focus = GetFocus();
    const HWND next = GetNextDlgTabItem(window, IsChild(window, focus) ? focus : nullptr, backwards);
    if (!next) return;
    // A text box reached by Tab has its text selected, as in a dialog.
    if ((SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

bool DialogKeys::StepOption(HWND window, Step step) {
    const HWND focus = GetFocus();
    if (!IsChild(window, focus) || (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) == 0) return false;
    // The next option shown and enabled, round the group; selecting it is a
    // click on it.
    const HWND next = GetNextDlgGroupItem(window, focus, /*previous=*/step == Step::Backwards ? TRUE : FALSE);
    if (!next || next == focus) return true;
    SetFocus(next);
    if (ControlView* view = viewOf_(GetDlgCtrlID(next))) view->OnCommand(BN_CLICKED);
    return true;
}

void DialogKeys::KeepFocus(HWND window) {
    const HWND focus = GetFocus();
    if (focus && IsChild(window, focus)) focus_ = focus;
}

bool DialogKeys::RestoreFocus(HWND window) {
    const auto usable = [window](HWND control) {
        return control && IsChild(window, control) && IsWindowVisible(control) && IsWindowEnabled(control);
    };
    // A minimised window keeps no control's keyboard: keys would act on
    // controls nobody sees.
    if (IsIconic(window)) return false;
    HWND target = focus_;
    // A control that hid itself meanwhile (behind a box) hands on as it
    // would have with the keyboard.
    if (!usable(target))
        if (const ControlView* view = target ? viewOf_(GetDlgCtrlID(target)) : nullptr) target = view->FocusHome();
    if (!usable(target)) target = GetNextDlgTabItem(window, nullptr, /*previous=*/FALSE);
    if (!target) return false;
    SetFocus(target);
    return true;
}

namespace {

// A hook has no context of its own: a thread shows one box at a time, and
// the hook and the box's own procedure are kept per thread.
thread_local HHOOK boxHook = nullptr;
thread_local WNDPROC boxProcedure = nullptr;

}  // namespace

EscapeAnswersNo::EscapeAnswersNo(UINT style) {
    if ((style & MB_TYPEMASK) != MB_YESNO || (style & MB_DEFMASK) != MB_DEFBUTTON2 || boxHook) return;
    boxHook = installed_ = SetWindowsHookExA(WH_CBT, &EscapeAnswersNo::OnCbt, nullptr, GetCurrentThreadId());
}

EscapeAnswersNo::~EscapeAnswersNo() {
    if (!installed_) return;
    (void)UnhookWindowsHookEx(installed_);
    boxHook = nullptr;
}

LRESULT CALLBACK EscapeAnswersNo::OnCbt(int code, WPARAM wParam, LPARAM lParam) noexcept {
    // The box is caught as it is first activated, before any key reaches it.
    if (code == HCBT_ACTIVATE && !boxProcedure) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, "#32770") == 0 && GetDlgItem(window, IDNO) && !GetDlgItem(window, IDCANCEL))
            boxProcedure = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EscapeAnswersNo::OnBox)));
    }
    return CallNextHookEx(boxHook, code, wParam, lParam);
}

LRESULT CALLBACK EscapeAnswersNo::OnBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    const WNDPROC own = boxProcedure;
    // Escape comes to the box as its Cancel command: it becomes a press on No.
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)
        return CallWindowProcA(own, box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED),
                               reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own));
        boxProcedure = nullptr;
    }
    return CallWindowProcA(own, box, message, wParam, lParam);
}

}  // namespace varnex::forms
