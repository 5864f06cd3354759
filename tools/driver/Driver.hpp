// Drives the real varnex.exe from a second process, as a script or a screen
// reader would: windows found by caption, controls by their fixed IDs, and
// only the messages the automation contract names.
#pragma once

// Lean and without min and max macros, as the library's users are built.
#include <windows.h>

#include <initializer_list>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varnex::e2e {

using Lines = std::vector<std::string>;

// Control and menu IDs of the automation contract.
namespace id {
inline constexpr int File1 = 1101, File2 = 1103, Option1 = 1105, Option2 = 1107, Option3 = 1109, Dir1 = 1111,
                     Command3 = 1113, Command2 = 1114, Command6 = 1115, Command5 = 1116, Command1 = 1118, List1 = 1120,
                     Text1 = 1122, Image2 = 1123, Image3 = 1124, Save = 1125, addonsize = 1127, foldersize = 1129,
                     Command4 = 1130, Label1 = 1131, LoadFavorits = 1201, SaveFavorits = 1202, InfoText1 = 1311;
}

inline constexpr const char* kMainCaption = "Varnex v0.98b";

// A fresh game folder for one test. The game's and the expansion's keys in
// the 32-bit registry view are removed before (a demo installation in the
// same prefix makes its own) and after; `registered` makes the game's key.
class GameInstall {
public:
    explicit GameInstall(bool registered, bool expansion = false);
    ~GameInstall();
    GameInstall(const GameInstall&) = delete;
    GameInstall& operator=(const GameInstall&) = delete;

    // A Windows path without final backslash.
    [[nodiscard]] const std::string& Folder() const { return folder_; }
    [[nodiscard]] bool GameKeyExists() const;
    [[nodiscard]] std::optional<std::string> GameValue(const char* name) const;
    // Files by their path below the game folder.
    void Write(const std::string& relative, const std::string& bytes) const;
    [[nodiscard]] std::string Read(const std::string& relative) const;
    // The names in one folder below the game folder, sorted.
    [[nodiscard]] Lines Names(const std::string& relative) const;
    // Every file (with its content) and folder below the game folder.
    [[nodiscard]] std::map<std::string, std::string> Snapshot() const;

private:
    std::string root_, folder_;
};

// varnex.exe started as a second process; ended if still running at the end.
class Varnex {
public:
    // The program built beside the tests, or the one at `program` (a Unix
    // or a Windows path).
    Varnex();
    explicit Varnex(std::string program);
    ~Varnex();
    Varnex(const Varnex&) = delete;
    Varnex& operator=(const Varnex&) = delete;

    // A visible top-level window of the program with this caption (and
    // class), waited for; null after the timeout or once the program ended.
    [[nodiscard]] HWND Window(const std::string& caption, const char* className = nullptr,
                              DWORD timeoutMs = 10000) const;
    [[nodiscard]] std::optional<DWORD> WaitForExit(DWORD timeoutMs = 10000) const;
    // Answers the dialog with this caption by its button and waits until
    // the handler that opened it has gone on; the dialog's text.
    std::string Answer(const char* caption = "VARNX", int button = IDOK) const;
    // Posts the menu item, types `path` into the file dialog it opens and
    // presses OK; returns the dialog's file type once the handler has gone on.
    std::string ChooseFile(int menuItem, const char* caption, const std::string& path) const;

private:
    void Settle() const;
    PROCESS_INFORMATION process_{};
};

// Waits until the program that owns `window` has ended the handler under
// way, every one kept meanwhile and the clicks and keys that came meanwhile
// (its main window answers and no longer carries the property
// "VarnexBusy"), or shows a box or dialog.
void WaitWhileBusy(HWND window, DWORD timeoutMs = 120000);
[[nodiscard]] bool Busy(HWND main);
// A visible box or dialog (class #32770) of the process that owns `window`.
[[nodiscard]] HWND BoxOf(HWND window);

// Real input, as the player's hand gives it (SendInput): a left click at
// `client` in the client area of `window` (its middle when omitted), and a
// click on the close box of a top-level window.
void MouseClick(HWND window, std::optional<POINT> client = std::nullopt);
void ClickCloseBox(HWND topLevel);

// The control with `controlId` among all descendants of `window`.
[[nodiscard]] HWND Control(HWND window, int controlId);
[[nodiscard]] std::string Text(HWND window);
[[nodiscard]] Lines Entries(HWND list);
[[nodiscard]] bool Visible(HWND main, int controlId);
[[nodiscard]] bool Checked(HWND main, int controlId);
// Sent: returns once the handler has. Posted: for a handler that opens a
// box, which the test then answers.
void Click(HWND button);
void Post(HWND button);
void ClickEntry(HWND list, int index, WORD code = LBN_SELCHANGE);
void Type(HWND edit, const std::string& text);
// Real input, as the player's keyboard and mouse give it, delivered by the
// system to the window in front and the control with the keyboard.
// `window` comes to the front for the keys that follow.
void BringToFront(HWND window);
// One key pressed and released, with the `held` keys (Shift, Alt) held
// down around it.
void Press(WORD key, std::initializer_list<WORD> held = {});
// Letters, digits and spaces, each as the key that types it.
void PressKeys(const std::string& text);
// A left click at the middle of `window`, or at `point` on the screen.
void ClickAt(HWND window);
void ClickAt(POINT point);
// The control that has the keyboard in the thread of `window`.
[[nodiscard]] HWND Focus(HWND window);
// The name a screen reader reads for the control, through the control's
// accessible object.
[[nodiscard]] std::string AccessibleName(HWND control);
// Texts cross the process boundary as UTF-16 (Wine fills list texts so even
// for the ANSI calls); the program itself works in the ANSI code page.
std::string Narrow(const std::wstring& wide, UINT codePage = CP_ACP);
// The trash of the test session (under XDG_DATA_HOME), where the shell
// moves what it deletes undoably, made if missing, with no earlier run's
// `name` in it that would make the shell pick another name. Empty when XDG_DATA_HOME names no
// Unix folder.
[[nodiscard]] std::filesystem::path TrashWithout(const std::string& name);
// Waits until `condition` holds or the timeout passes; its last answer.
template <class Condition>
bool Eventually(Condition condition, DWORD timeoutMs = 5000) {
    for (DWORD waited = 0;; waited += 10) {
        if (condition()) return true;
        if (waited >= timeoutMs) return false;
        Sleep(10);
    }
}

}  // namespace varnex::e2e
