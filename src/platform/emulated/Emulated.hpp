// Windows semantics over a host folder, for the native tests and the
// benchmarks: drive letters mapped to host folders, "\\" and "/" both
// separators, names resolved without regard to letter case, an in-memory
// registry, and scripted answers for boxes, dialogs and the shell's prompt.
#pragma once

#include "platform/emulated/Files.hpp"
#include "platform/emulated/Registry.hpp"
#include "platform/emulated/ShellAndDesktop.hpp"
