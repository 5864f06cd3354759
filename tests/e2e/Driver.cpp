#include "Driver.hpp"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace varnex::e2e {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGameKey = "SOFTWARE\\Codemasters\\Operation Flashpoint";
constexpr const char* kExpansionKey = "SOFTWARE\\Codemasters\\Flashpoint Resistance";
constexpr REGSAM k32 = KEY_WOW64_32KEY;

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

class Key {
public:
    Key(const char* path, REGSAM access) {
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, access | k32, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~Key() {
        if (key_) RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    [[nodiscard]] HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

void DeleteKey(const char* path) {
    {
        const Key key(path, KEY_ALL_ACCESS);
        if (!key.get()) return;
        RegDeleteTreeA(key.get(), nullptr);
    }
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, path, k32, 0);
}

void SetValue(const char* path, const std::string& name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS | k32, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error(std::string("cannot create the registry key ") + path);
    RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

// The program under test, built beside this test; a Unix path from the
// build system is reached through Wine's drive Z:.
std::string ProgramPath() {
    std::string path = VARNEX_EXE;
    if (!path.empty() && path.front() == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    return path;
}

}  // namespace

// ---- GameInstall

GameInstall::GameInstall() {
    static int made = 0;
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    root_ = fs::path(temp) / ("varnex-e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++made));
    fs::remove_all(root_);
    fs::create_directories(root_ / "OFP");
    folder_ = (root_ / "OFP").string();

    DeleteKey(kGameKey);
    DeleteKey(kExpansionKey);
}

GameInstall::~GameInstall() {
    DeleteKey(kGameKey);
    DeleteKey(kExpansionKey);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void GameInstall::Register(bool expansion) {
    SetGameValue("Main", folder_);
    if (expansion) SetValue(kExpansionKey, "Main", REG_SZ, folder_ + "\\Res" + '\0');
}

void GameInstall::SetGameValue(const std::string& name, const std::string& value) {
    SetValue(kGameKey, name, REG_SZ, value + '\0');
}

std::optional<std::string> GameInstall::GameValue(const std::string& name) const {
    const Key key(kGameKey, KEY_READ);
    DWORD size = 0;
    if (!key.get() || RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string value(size, '\0');
    RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(value.data()), &size);
    value.resize(size);
    while (!value.empty() && value.back() == '\0') value.pop_back();
    return value;
}

bool GameInstall::GameKeyExists() const { return Key(kGameKey, KEY_READ).get() != nullptr; }

int GameInstall::GameValueCount() const {
    const Key key(kGameKey, KEY_READ);
    DWORD values = 0;
    if (!key.get()) return 0;
    RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                     nullptr, nullptr);
    return static_cast<int>(values);
}

void GameInstall::Write(const std::string& relative, const std::string& bytes) const {
    const fs::path path = fs::path(folder_) / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string GameInstall::Read(const std::string& relative) const {
    std::ifstream file(fs::path(folder_) / relative, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::map<std::string, std::string> GameInstall::Snapshot() const {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
        const std::string relative = fs::relative(entry.path(), folder_).string();
        tree[relative] = entry.is_regular_file() ? Read(relative) : "<folder>";
    }
    return tree;
}

// ---- Varnex

Varnex::Varnex() {
    const std::string program = ProgramPath();
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process_))
        throw std::runtime_error("cannot start " + program + ": error " + std::to_string(GetLastError()));
    thread_ = process_.dwThreadId;
}

Varnex::~Varnex() {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Varnex::FindWindowNow(const std::string& caption, const char* className) const {
    struct Search {
        DWORD process;
        const std::string& caption;
        const char* className;
        HWND found = nullptr;
    } search{process_.dwProcessId, caption, className};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != s.process || !IsWindowVisible(window)) return TRUE;
            char text[256] = {}, name[64] = {};
            GetWindowTextA(window, text, sizeof text);
            GetClassNameA(window, name, sizeof name);
            if (s.caption != text || (s.className && std::string(s.className) != name)) return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Varnex::WaitForWindow(const std::string& caption, const char* className, DWORD timeoutMs) const {
    HWND found = nullptr;
    Eventually(
        [&] {
            found = FindWindowNow(caption, className);
            return found != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    return found;
}

std::optional<DWORD> Varnex::WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

// ---- Reading and acting

HWND Control(HWND window, int controlId) {
    struct Search {
        int id;
        HWND found = nullptr;
    } search{controlId};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            if (GetDlgCtrlID(child) != s.id) return TRUE;
            s.found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(HWND window) {
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

std::vector<std::string> Entries(HWND list) {
    std::vector<std::string> entries;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        entries.push_back(Narrow(text));
    }
    return entries;
}

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::string BoxText(HWND box) { return Text(GetDlgItem(box, 0xFFFF)); }

void PressOk(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

namespace {

void Notify(HWND list, int index, WORD code) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code), reinterpret_cast<LPARAM>(list));
}

}  // namespace

void ClickEntry(HWND list, int index) { Notify(list, index, LBN_SELCHANGE); }

void DoubleClickEntry(HWND list, int index) { Notify(list, index, LBN_DBLCLK); }

void Type(HWND edit, const std::string& text) {
    const std::wstring wide = Wide(text);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide.c_str()));
}

RECT ClientRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND Focus(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

void PressButton(HWND dialog, int buttonId) { PostMessageW(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0); }

void ChooseFile(HWND dialog, const std::string& path) {
    constexpr int kFileNameField = 0x47C;
    const std::wstring wide = Wide(path);
    SendMessageW(Control(dialog, kFileNameField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace varnex::e2e
