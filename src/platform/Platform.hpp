// The services the program's behaviour calls. platform/win32 implements the
// registry, the files and the shell with the Windows API; the front end
// implements Desktop (frontend/Win32Desktop), whose boxes and dialogs belong to
// its windows. platform/emulated implements them all over a host folder for
// the native tests. Every path handed in is a Windows path ("C:\..."),
// joined by the core with "\" for its own accesses and "/" for the shell.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/Status.hpp"
#include "text/ClassicText.hpp"

namespace varnex {

// The four registry functions, exactly as the program calls them.
class RegistryApi {
public:
    virtual ~RegistryApi() = default;
    using Key = std::uint64_t;
    virtual std::int32_t RegOpenKeyExA(std::uint32_t root, const Text& subKey, std::uint32_t options,
                                       std::uint32_t samDesired, Key& result) = 0;
    // `data` null asks for type and size only; `size` is in and out.
    virtual std::int32_t RegQueryValueExA(Key key, const Text& valueName, std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) = 0;
    virtual std::int32_t RegSetValueExA(Key key, const Text& valueName, std::uint32_t type, const std::uint8_t* data,
                                        std::uint32_t size) = 0;
    virtual std::int32_t RegCloseKey(Key key) = 0;
};

// A text from the system (a listed name, a dialog's answer, a registry
// string) is held by the system's single-byte code page, or it is not. The
// Windows platform converts each of them from its wide form without
// best-fit letters, so a letter the code page has no place for comes over
// as "?", never as a look-alike that may name another file. No Windows file
// name holds "?" or "*": a text holding either stands for no one file, and
// the shell would take it as a wildcard reaching others. The program never
// hands such a text to the shell, a file open, a delete or a listing, and
// never writes it back. Nor does it pass on a text whose last letter is cut
// off (a lone lead byte of a double-byte code page): no name is spelled so.
[[nodiscard]] inline bool Held(std::string_view text) {
    return text.find_first_of("?*") == std::string_view::npos && WholeLetters(text);
}

enum class OpenMode { Read, Write };
using FileHandle = std::uintptr_t;

struct DirEntry {
    Text name;  // as the disk spells it
    bool folder = false;
    std::int64_t size = 0;  // bytes, files only
};

// Byte files and folders. Both open modes create a missing file and neither
// shortens an existing one, as the classic binary open does.
class FileApi {
public:
    virtual ~FileApi() = default;
    virtual IoStatus Open(const Text& path, OpenMode mode, FileHandle& handle) = 0;
    virtual IoStatus Length(FileHandle handle, std::int64_t& length) = 0;
    // Reads up to `size` bytes from the first byte of the file.
    virtual IoStatus Read(FileHandle handle, char* data, std::size_t size, std::size_t& got) = 0;
    // Writes `data` from the first byte of the file on.
    virtual IoStatus Write(FileHandle handle, std::string_view data) = 0;
    virtual IoStatus Close(FileHandle handle) = 0;
    virtual IoStatus Delete(const Text& path) = 0;
    // Length of an existing file, without opening (or creating) it.
    virtual IoStatus FileLength(const Text& path, std::int64_t& length) = 0;
    // Replaces the whole content of `path` so that a failure at any point
    // leaves the old content in place: written beside it, then swapped in.
    virtual IoStatus ReplaceContent(const Text& path, std::string_view content) = 0;
    virtual bool FolderExists(const Text& path) = 0;
    // Creates one folder level under an existing folder.
    virtual IoStatus CreateFolder(const Text& path) = 0;
    // The subfolders of `folder` ("." and ".." left out) and its files whose
    // names match `filePattern` (see MatchesPattern), in any order. Only
    // matching files are measured, so a list of one kind of addon does not
    // pay for the other.
    virtual IoStatus ListFolder(const Text& folder, const Text& filePattern, std::vector<DirEntry>& entries) = 0;
    // The file exists and another program (the game) holds it open without
    // letting it be renamed or deleted meanwhile.
    [[nodiscard]] virtual bool InUse(const Text& path) = 0;
    // The letters of the system's code page, in which every name and path
    // handed in or out is spelled.
    [[nodiscard]] virtual CodePageLetters Letters() const = 0;
};

// The shell's file-operation record as the program fills it; the platform
// turns it into the real SHFILEOPSTRUCTA.
struct ShellFileOp {
    std::uint32_t wFunc = 0;
    Text pFrom;  // holds its two closing zero bytes
    Text pTo;
    std::uint16_t fFlags = 0;
};

class ShellApi {
public:
    virtual ~ShellApi() = default;
    virtual int SHFileOperationA(const ShellFileOp& op) = 0;
    // The shell asks before it moves a file into the recycle bin. Windows
    // asks only while the recycle bin's "Display delete confirmation
    // dialog" is on, which it is not by default since Windows 8.
    virtual bool ConfirmsDelete() const = 0;
};

struct FileDialogSetup {
    Text initDir;
    Text filter;  // "label|pattern" pairs
    int filterIndex = 0;
    Text fileName;
    Text title;
    Text defaultExt;
    std::uint32_t flags = 0;
};

// Boxes, dialogs and the end of the program.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual int MessageBox(const Text& text, const Text& caption, std::uint32_t style) = 0;
    // The chosen full path, or "" when the player cancelled.
    virtual Text ShowOpenDialog(const FileDialogSetup& setup) = 0;
    virtual Text ShowSaveDialog(const FileDialogSetup& setup) = 0;
    // Long walks ask this before each entry. True when it is time to keep
    // the window responsive; the real desktop answers by the time since it
    // last did, so that slow renames and quick reads alike keep it painted.
    [[nodiscard]] virtual bool ResponsiveDue() = 0;
    // The window is brought up to date and painted. Input that arrives
    // meanwhile waits: no handler starts before the walk's own has ended.
    virtual void KeepResponsive() = 0;
    // Ends the program at once; on the emulated platform it only records it.
    virtual void EndProgram() = 0;
};

struct Platform {
    RegistryApi& registry;
    FileApi& files;
    ShellApi& shell;
    Desktop& desktop;
};

// Message box styles and answers the program uses.
inline constexpr std::uint32_t kMbOk = 0;
inline constexpr std::uint32_t kMbYesNo = 4;
inline constexpr std::uint32_t kMbCancelTryContinue = 6;
inline constexpr std::uint32_t kMbIconQuestion = 0x20;
inline constexpr std::uint32_t kMbIconExclamation = 0x30;
// The second button (No) answers Enter.
inline constexpr std::uint32_t kMbDefButton2 = 0x100;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kIdTryAgain = 10;
inline constexpr int kIdContinue = 11;

}  // namespace varnex
