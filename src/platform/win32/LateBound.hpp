// System functions bound at run time: those that only newer systems have,
// and those of the shell and the common dialogs, bound at their first call
// instead of at start-up. Those two pull in a large tree of libraries whose
// loading is a good part of the program's start under Wine; the window is
// up before either is needed.
#pragma once

#include <windows.h>

namespace varnex::winapi {

// `name` from `library`, or null when it cannot be had. The library stays
// loaded for the rest of the program.
template <class Function>
Function* LateBound(const char* library, const char* name) {
    const HMODULE module = ::LoadLibraryA(library);
    const FARPROC found = module ? ::GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(found));
}

}  // namespace varnex::winapi
