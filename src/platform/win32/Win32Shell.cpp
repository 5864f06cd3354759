#include "platform/win32/Win32Shell.hpp"

// After the program's headers: <windows.h> turns names such as MessageBox
// into macros, which must not rename the program's own declarations.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "platform/win32/LateBound.hpp"

namespace varnex::platform::win32 {

namespace {

// The shell reads a path list up to two zero bytes in a row. The program's
// texts carry them already; a text without a closing zero byte gets one
// here, and the string's own terminator makes the second.
// The core joins the shell's paths with "/", which Windows' shell does not
// take for a separator everywhere; no Windows name holds one.
Text PathList(const Text& text) {
    Text list = text;
    for (std::size_t i = 0; i < list.size(); i += LetterAt(list, i))
        if (list[i] == '/') list[i] = '\\';
    if (!list.empty() && list.back() == '\0') return list;
    return list + '\0';
}

}  // namespace

int Win32Shell::SHFileOperationA(const ShellFileOp& op) {
    const Text from = PathList(op.pFrom);
    const Text to = PathList(op.pTo);
    SHFILEOPSTRUCTA record{};
    record.hwnd = nullptr;
    record.wFunc = op.wFunc;
    record.pFrom = from.c_str();
    record.pTo = op.pTo.empty() ? nullptr : to.c_str();
    record.fFlags = op.fFlags;
    // A file the recycle bin cannot take (on a network share, on some USB
    // drives) would be destroyed without a word: the shell asks first.
    if (op.wFunc == FO_DELETE && (op.fFlags & FOF_ALLOWUNDO) != 0) record.fFlags |= FOF_WANTNUKEWARNING;
    static const auto shFileOperation = LateBound<decltype(::SHFileOperationA)>("shell32.dll", "SHFileOperationA");
    return shFileOperation ? shFileOperation(&record) : ERROR_MOD_NOT_FOUND;
}

bool Win32Shell::ConfirmsDelete() const {
    using GetSetSettings = void WINAPI(SHELLSTATEA*, DWORD, BOOL);
    static const auto getSetSettings = [] {
        // Exported by name, and as number 68 where the name is missing.
        auto* byName = LateBound<GetSetSettings>("shell32.dll", "SHGetSetSettings");
        return byName ? byName : LateBound<GetSetSettings>("shell32.dll", MAKEINTRESOURCEA(68));
    }();
    if (!getSetSettings) return true;
    SHELLSTATEA state{};
    getSetSettings(&state, SSF_NOCONFIRMRECYCLE, /*set=*/FALSE);
    return !state.fNoConfirmRecycle;
}

}  // namespace varnex::platform::win32
