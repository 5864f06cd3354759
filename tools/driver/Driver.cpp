#include "Driver.hpp"

#include <ole2.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace varnex::e2e {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGameKey = "SOFTWARE\\Codemasters\\Operation Flashpoint";
constexpr const char* kExpansionKey = "SOFTWARE\\Codemasters\\Flashpoint Resistance";

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    return wide;
}

// The game's keys live in the 32-bit view of the registry.
HKEY Open(const char* path, REGSAM access) {
    HKEY key = nullptr;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access | KEY_WOW64_32KEY, &key) == ERROR_SUCCESS ? key : nullptr;
}

void DeleteKey(const char* path) {
    if (const HKEY key = Open(path, KEY_ALL_ACCESS)) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path, KEY_WOW64_32KEY, 0);
    }
}

void SetValue(const char* path, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot create the registry key ") + path);
    RegSetValueExA(key, "Main", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
}

}  // namespace

std::string Narrow(const std::wstring& wide, UINT codePage) {
    std::string text(wide.size() * 3, '\0');
    text.resize(
        static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                                     text.data(), static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

GameInstall::GameInstall(bool registered, bool expansion) {
    static int made = 0;
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    root_ = temp + ("varnex-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
    folder_ = root_ + "\\OFP";
    fs::remove_all(root_);
    fs::create_directories(folder_);
    DeleteKey(kGameKey);
    DeleteKey(kExpansionKey);
    if (registered) SetValue(kGameKey, folder_);
    if (expansion) SetValue(kExpansionKey, folder_ + "\\Res");
}

GameInstall::~GameInstall() {
    DeleteKey(kGameKey);
    DeleteKey(kExpansionKey);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

bool GameInstall::GameKeyExists() const {
    const HKEY key = Open(kGameKey, KEY_READ);
    if (key) RegCloseKey(key);
    return key != nullptr;
}

std::optional<std::string> GameInstall::GameValue(const char* name) const {
    const HKEY key = Open(kGameKey, KEY_READ);
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    const bool found =
        key && RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS;
    if (key) RegCloseKey(key);
    if (!found) return std::nullopt;
    return std::string(value);  // stored with or without its NUL
}

void GameInstall::Write(const std::string& relative, const std::string& bytes) const {
    const fs::path path = fs::path(folder_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string GameInstall::Read(const std::string& relative) const {
    std::ostringstream content;
    content << std::ifstream(fs::path(folder_) / relative, std::ios::binary).rdbuf();
    return content.str();
}

Lines GameInstall::Names(const std::string& relative) const {
    Lines names;
    for (const auto& entry : fs::directory_iterator(fs::path(folder_) / relative))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::map<std::string, std::string> GameInstall::Snapshot() const {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
        const std::string relative = fs::relative(entry.path(), folder_).string();
        // Addon contents are long and never written: a failure shows sizes.
        const std::string content = entry.is_regular_file() ? Read(relative) : "<folder>";
        tree[relative] = content.size() <= 100 ? content : std::to_string(content.size()) + " bytes";
    }
    return tree;
}

Varnex::Varnex() : Varnex(VARNEX_EXE) {}

Varnex::Varnex(std::string program) {
    // A Unix path is reached through Wine's drive Z:.
    if (program.front() == '/') program = "Z:" + program;
    std::replace(program.begin(), program.end(), '/', '\\');
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        throw std::runtime_error("cannot start " + program + ": error " + std::to_string(GetLastError()));
}

Varnex::~Varnex() {
    if (!WaitForExit(0)) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Varnex::Window(const std::string& caption, const char* className, DWORD timeoutMs) const {
    struct Search {
        DWORD process;
        const std::string& caption;
        const char* className;
        HWND found = nullptr;
    } search{process_.dwProcessId, caption, className};
    const auto find = [](HWND window, LPARAM param) CALLBACK -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char text[256] = {}, name[64] = {};
        GetWindowTextA(window, text, sizeof text);
        GetClassNameA(window, name, sizeof name);
        if (process == s.process && IsWindowVisible(window) && s.caption == text &&
            (!s.className || std::string(s.className) == name))
            s.found = window;
        return s.found == nullptr;
    };
    Eventually(
        [&] {
            EnumWindows(find, reinterpret_cast<LPARAM>(&search));
            return search.found || WaitForExit(0);
        },
        timeoutMs);
    return search.found;
}

std::optional<DWORD> Varnex::WaitForExit(DWORD timeoutMs) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

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

HWND Control(HWND window, int controlId) {
    std::pair<int, HWND> search{controlId, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<std::pair<int, HWND>*>(param);
            if (GetDlgCtrlID(child) == s.first) s.second = child;
            return s.second == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::string Text(HWND window) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

Lines Entries(HWND list) {
    Lines entries;
    for (LRESULT i = 0, count = SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        // The program emptied the list meanwhile: what stood in it is read.
        if (length == LB_ERR || got == LB_ERR) break;
        text.resize(static_cast<std::size_t>(got));
        entries.push_back(Narrow(text));
    }
    return entries;
}

bool Visible(HWND main, int controlId) { return IsWindowVisible(Control(main, controlId)) != FALSE; }

bool Checked(HWND main, int controlId) {
    return SendMessageW(Control(main, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

namespace {

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

// A visible top-level window of `process` with this caption, or of class
// #32770 when `caption` is null.
HWND TopLevel(DWORD process, const char* caption) {
    struct Search {
        DWORD process;
        const char* caption;
        HWND found = nullptr;
    } search{process, caption};
    EnumWindows(
        [](HWND window, LPARAM param) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            char text[256] = {}, name[64] = {};
            GetWindowTextA(window, text, sizeof text);
            GetClassNameA(window, name, sizeof name);
            if (ProcessOf(window) == s.process && IsWindowVisible(window) &&
                (s.caption ? std::string(s.caption) == text : std::string(name) == "#32770"))
                s.found = window;
            return s.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND BoxOf(HWND window) { return TopLevel(ProcessOf(window), nullptr); }

bool Busy(HWND main) { return GetPropW(main, L"VarnexBusy") != nullptr; }

void WaitWhileBusy(HWND window, DWORD timeoutMs) {
    const HWND main = TopLevel(ProcessOf(window), kMainCaption);
    if (!main) return;
    Eventually(
        [&] {
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored)) return !IsWindow(main);
            return !Busy(main) || BoxOf(main) != nullptr;
        },
        timeoutMs);
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

}  // namespace varnex::e2e

namespace varnex::e2e {

namespace {

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

HWND Focus(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) ? thread.hwndFocus : nullptr;
}

std::string AccessibleName(HWND control) {
    struct Com {
        Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
        ~Com() { CoUninitialize(); }
    } com;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return "<no accessible object>";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT read = object->get_accName(self, &name);
    std::string text = SUCCEEDED(read) && name ? Narrow(name) : "<no name>";
    SysFreeString(name);
    object->Release();
    return text;
}

std::filesystem::path TrashWithout(const std::string& name) {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (!data || *data != '/') return {};
    const std::filesystem::path trash = std::filesystem::path(std::string("Z:") + data) / "Trash";
    // The bin's folders exist, as on any desktop, before the first delete:
    // a listing taken before it already holds them.
    std::filesystem::create_directories(trash / "files");
    std::filesystem::create_directories(trash / "info");
    std::filesystem::remove(trash / "files" / name);
    std::filesystem::remove(trash / "info" / (name + ".trashinfo"));
    return trash;
}

}  // namespace varnex::e2e
