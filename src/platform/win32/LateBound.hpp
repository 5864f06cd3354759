// System functions bound at run time: those that only newer systems have,
// and those of the shell and the common dialogs, bound at their first call
// instead of at start-up. Those two pull in a large tree of libraries whose
// loading is a good part of the program's start under Wine; the window is
// up before either is needed.
#pragma once

#include <windows.h>

#include <string>

namespace varnex::platform::win32 {

// The system's own copy of `library`, loaded by its full path. The program
// runs with administrator rights and may sit in Downloads: a DLL of the same
// name beside it must never be the one loaded.
inline HMODULE SystemLibrary(const char* library) {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const std::string path = std::string(folder, length) + "\\" + library;
    return ::LoadLibraryA(path.c_str());
}

// `name` from the system's `library`, or null when it cannot be had. The
// library stays loaded for the rest of the program.
template <class Function>
Function* LateBound(const char* library, const char* name) {
    const HMODULE module = SystemLibrary(library);
    const FARPROC found = module ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

// Only the system's folder is searched for the DLLs the system itself
// loads later on the program's behalf, never the program's own folder. Run
// first thing, before anything is loaded. False where the system cannot
// leave the program's folder out: only the current folder is then left out.
inline bool SearchOnlySystemForLibraries() {
    using SetDefaultDirectories = BOOL WINAPI(DWORD);
    const HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    // Vista and 7 have it only with update KB2533623.
    auto* setDefault = kernel ? reinterpret_cast<SetDefaultDirectories*>(
                                    reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "SetDefaultDllDirectories")))
                              : nullptr;
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    if (setDefault && setDefault(kSearchSystem32)) return true;
    // Takes at least the current folder out of the search.
    (void)::SetDllDirectoryA("");
    return false;
}

}  // namespace varnex::platform::win32
