#include "platform/win32/Win32Shell.hpp"

// After the program's headers: <windows.h> turns names such as MessageBox
// into macros, which must not rename the program's own declarations.
#include <windows.h>
#include <shellapi.h>

#include "platform/win32/LateBound.hpp"

namespace varnex {

namespace {

// The shell reads a path list up to two zero bytes in a row. The program's
// texts carry them already; a text without a closing zero byte gets one
// here, and the string's own terminator makes the second.
Text PathList(const Text& text) {
    if (!text.empty() && text.back() == '\0') return text;
    return text + '\0';
}

// Wine's ntdll exports its own version function; Windows' never does.
// Asking the loaded system holds however the program was started, where a
// look at the environment or the registry could be fooled.
bool RunningUnderWine() {
    static const bool wine = [] {
        const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
        return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }();
    return wine;
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
    static const auto shFileOperation = winapi::LateBound<decltype(::SHFileOperationA)>("shell32.dll", "SHFileOperationA");
    return shFileOperation ? shFileOperation(&record) : ERROR_MOD_NOT_FOUND;
}

bool Win32Shell::ReportsOwnErrors() const { return !RunningUnderWine(); }

}  // namespace varnex
