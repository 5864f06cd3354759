// The driver's own set-up: a fresh game folder with its registry keys, the
// program started as a second process, and the trash the shell deletes into.
#include "Driver.hpp"

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

std::optional<DWORD> Varnex::WaitForExit(DWORD timeoutMs) const {
    DWORD code = 0;
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
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
