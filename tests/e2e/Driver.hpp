// Drives the real varnex.exe from a second process, as a script or a screen
// reader would: windows found by caption, controls by their fixed IDs, and
// only the messages the automation contract names.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varnex::e2e {

// Control IDs of the automation contract.
namespace id {
inline constexpr int File = 1100, File1 = 1101, File2 = 1103, Option1 = 1105, Option2 = 1107, Label3 = 1108,
                     Option3 = 1109, Dir1 = 1111, Command3 = 1113, Command2 = 1114, Command6 = 1115,
                     Command1 = 1118, List1 = 1120, Text1 = 1122, Image2 = 1123, Image3 = 1124, addonsize = 1127,
                     foldersize = 1129;
inline constexpr int InfoText1 = 1311, InfoText4 = 1314, InfoText5 = 1315;
}  // namespace id

inline constexpr const char* kMainCaption = "Varnex v0.98b";
inline constexpr const char* kInfoCaption = "Addon Information";

// A game installation of one test: a fresh folder, and the game's and the
// expansion's registry keys in the 32-bit view, which start empty (a demo
// installation in the same prefix makes its own again) and are removed
// afterwards.
class GameInstall {
public:
    GameInstall();
    ~GameInstall();
    GameInstall(const GameInstall&) = delete;
    GameInstall& operator=(const GameInstall&) = delete;

    // The game's folder, a Windows path without final backslash.
    [[nodiscard]] const std::string& Folder() const { return folder_; }
    // Registers the game (and the expansion) with this folder.
    void Register(bool expansion);
    void SetGameValue(const std::string& name, const std::string& value);
    [[nodiscard]] std::optional<std::string> GameValue(const std::string& name) const;
    [[nodiscard]] bool GameKeyExists() const;
    [[nodiscard]] int GameValueCount() const;

    // Files by their path below the game folder.
    void Write(const std::string& relative, const std::string& bytes) const;
    [[nodiscard]] std::string Read(const std::string& relative) const;
    // Every file (with its content) and folder below the game folder.
    [[nodiscard]] std::map<std::string, std::string> Snapshot() const;

private:
    std::filesystem::path root_;
    std::string folder_;
};

// varnex.exe started as a second process; ended if still running at the
// end of the test.
class Varnex {
public:
    Varnex();
    ~Varnex();
    Varnex(const Varnex&) = delete;
    Varnex& operator=(const Varnex&) = delete;

    // A visible top-level window of the program with this caption (and
    // class, if given); null after the timeout or when the program ended.
    [[nodiscard]] HWND WaitForWindow(const std::string& caption, const char* className = nullptr,
                                     DWORD timeoutMs = 10000) const;
    [[nodiscard]] HWND FindWindowNow(const std::string& caption, const char* className = nullptr) const;
    // The program's exit code, or nothing when it still runs after the timeout.
    [[nodiscard]] std::optional<DWORD> WaitForExit(DWORD timeoutMs = 10000) const;
    [[nodiscard]] DWORD ThreadId() const { return thread_; }

private:
    PROCESS_INFORMATION process_{};
    DWORD thread_ = 0;
};

// The control with `controlId` among all descendants of `window`.
[[nodiscard]] HWND Control(HWND window, int controlId);
[[nodiscard]] std::string Text(HWND window);
[[nodiscard]] std::vector<std::string> Entries(HWND list);
[[nodiscard]] bool Checked(HWND button);
// The text of a message box.
[[nodiscard]] std::string BoxText(HWND box);
void PressOk(HWND box);
void Click(HWND button);
void ClickEntry(HWND list, int index);
void DoubleClickEntry(HWND list, int index);
void Type(HWND edit, const std::string& text);
// A control's place in its top-level window's client area, in pixels.
[[nodiscard]] RECT ClientRect(HWND control);
// The control that has the keyboard in the program's window thread.
[[nodiscard]] HWND Focus(DWORD thread);
// Waits until `condition` holds or the timeout passes; its last answer.
template <class Condition>
bool Eventually(Condition condition, DWORD timeoutMs = 5000) {
    for (DWORD waited = 0;; waited += 10) {
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        Sleep(10);
    }
}

// Presses the button `buttonId` of a dialog (a message box, the shell's
// confirmation), posted so that the caller never waits on the dialog.
void PressButton(HWND dialog, int buttonId);
// Types `path` into the file name field of a standard open or save dialog
// and presses its OK button.
void ChooseFile(HWND dialog, const std::string& path);

}  // namespace varnex::e2e
