// The Windows header as the front end includes it: lean, so the shell's
// and dialogs' macros (FO_DELETE, ...) do not rewrite the core's own names,
// and without the MessageBox macro that would rename the core's method.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef MessageBox
