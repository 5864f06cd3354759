// What the driver does to the program: clicks and keys, as messages or as
// real input, typing, and answers to its boxes and file dialogs, each
// waiting as the player would for the handler it starts.
#include "Driver.hpp"

#include <iterator>
#include <string>
#include <vector>

namespace varnex::e2e {

namespace {

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

void Send(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

INPUT Key(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void Varnex::Settle() const {
    if (const HWND main = Window(kMainCaption, nullptr, 0)) WaitWhileBusy(main);
}

std::string Varnex::Answer(const char* caption, int button) const {
    const HWND dialog = Window(caption, "#32770");
    if (!dialog) return std::string("<no box ") + caption + ">";
    const std::string text = Text(GetDlgItem(dialog, 0xFFFF));
    const HWND pressed = GetDlgItem(dialog, button);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(pressed));
    Eventually([&] { return !IsWindowVisible(dialog); });
    Settle();
    return text;
}

std::string Varnex::ChooseFile(int menuItem, const char* caption, const std::string& path) const {
    PostMessageW(Window(kMainCaption), WM_COMMAND, MAKEWPARAM(menuItem, 0), 0);
    const HWND dialog = Window(caption, "#32770");
    constexpr int kFileNameField = 0x47C, kFileTypeField = 0x470;
    const std::string fileType = Text(Control(dialog, kFileTypeField));
    SendMessageW(Control(dialog, kFileNameField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(path).c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    Eventually([&] { return !IsWindowVisible(dialog); });
    Settle();
    return fileType;
}

void MouseClick(HWND window, std::optional<POINT> client) {
    RECT area{};
    GetClientRect(window, &area);
    POINT point = client.value_or(POINT{area.right / 2, area.bottom / 2});
    ClientToScreen(window, &point);
    ClickAt(point);
}

void ClickCloseBox(HWND topLevel) {
    // The close box is the rightmost button of the caption: found by asking
    // the window what lies along the middle of its caption.
    RECT frame{}, client{};
    GetWindowRect(topLevel, &frame);
    GetClientRect(topLevel, &client);
    POINT clientTop{0, 0};
    ClientToScreen(topLevel, &clientTop);
    for (int y = frame.top + 2; y < clientTop.y; y += 2)
        for (int x = frame.right - 2; x > frame.right - 80; --x) {
            const LRESULT hit = SendMessageW(topLevel, WM_NCHITTEST, 0, MAKELPARAM(x, y));
            if (hit != HTCLOSE) continue;
            ClickAt(POINT{x - 3, y + 3});
            return;
        }
}

void Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    WaitWhileBusy(button);
}

void Post(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void ClickEntry(HWND list, int index, WORD code) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code), reinterpret_cast<LPARAM>(list));
    WaitWhileBusy(list);
}

void Type(HWND edit, const std::string& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    WaitWhileBusy(edit);
}

void BringToFront(HWND window) {
    SetForegroundWindow(window);
    Eventually([&] { return GetForegroundWindow() == window; }, 2000);
}

void Press(WORD key, std::initializer_list<WORD> held) {
    std::vector<INPUT> inputs;
    for (const WORD down : held) inputs.push_back(Key(down, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    for (auto up = std::rbegin(held); up != std::rend(held); ++up) inputs.push_back(Key(*up, true));
    Send(inputs);
}

void PressKeys(const std::string& text) {
    for (const char c : text) {
        const SHORT scan = VkKeyScanA(c);
        const auto key = static_cast<WORD>(LOBYTE(scan));
        if ((HIBYTE(scan) & 1) != 0)
            Press(key, {VK_SHIFT});
        else
            Press(key);
    }
}

void ClickAt(POINT point) {
    // Absolute positions run from 0 to 65535 over the primary screen. The
    // pauses let Wine see the pointer arrive before the button goes down.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (const DWORD buttons : {DWORD{0}, DWORD{MOUSEEVENTF_LEFTDOWN}, DWORD{MOUSEEVENTF_LEFTUP}}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, width - 1);
        input.mi.dy = MulDiv(point.y, 65535, height - 1);
        input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE | buttons;
        SendInput(1, &input, sizeof input);
        if (buttons != MOUSEEVENTF_LEFTUP) Sleep(30);
    }
}

void ClickAt(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    ClickAt(POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2});
}

}  // namespace varnex::e2e
