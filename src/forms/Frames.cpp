#include "forms/Frames.hpp"

#include "platform/win32/LateBound.hpp"

namespace varnex::forms {

void RegisterFormClass(HINSTANCE instance, const char* className, int icon, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExA(instance, className, &windowClass)) return;
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(icon));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(icon), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = className;
    (void)RegisterClassExA(&windowClass);
}

RECT VisibleFrame(HWND window) {
    RECT whole{};
    GetWindowRect(window, &whole);
    using GetAttribute = HRESULT WINAPI(HWND, DWORD, void*, DWORD);
    static const auto getAttribute = platform::win32::LateBound<GetAttribute>("dwmapi.dll", "DwmGetWindowAttribute");
    constexpr DWORD kExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
    RECT frame{};
    if (getAttribute && getAttribute(window, kExtendedFrameBounds, &frame, sizeof frame) == S_OK &&
        frame.right > frame.left && frame.bottom > frame.top)
        return frame;
    return whole;
}

void MoveVisibleFrame(HWND window, int left, int top) {
    RECT whole{};
    GetWindowRect(window, &whole);
    const RECT frame = VisibleFrame(window);
    SetWindowPos(window, nullptr, left - (frame.left - whole.left), top - (frame.top - whole.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BringBoxForward() {
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

}  // namespace varnex::forms
