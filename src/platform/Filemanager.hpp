// The shell's file-operation record and call: every rename and delete of an
// addon file goes through it.
#pragma once

#include <cstdint>

#include "platform/Platform.hpp"

namespace varnex::Filemanager {

inline constexpr std::uint32_t FO_DELETE = 3;
inline constexpr std::uint32_t FO_RENAME = 4;
inline constexpr std::uint16_t FOF_ALLOWUNDO = 0x40;

// The record as the program fills it, fields in the shell's order. Handlers
// start from a zeroed record and set only wFunc, pFrom, pTo and fFlags, so
// the shell's own dialogs have no owner window.
struct SHFILEOPSTRUCTA {
    std::int32_t hwnd = 0;
    std::uint32_t wFunc = 0;
    Text pFrom;
    Text pTo;
    std::uint16_t fFlags = 0;
    std::int32_t fAnyOperationsAborted = 0;
    std::int32_t hNameMappings = 0;
    std::int32_t lpszProgressTitle = 0;
};

// Hands the record to the shell; each text ends in two zero bytes, as the
// shell's path lists require. Returns the shell's result.
int SHFileOperation(ShellApi& shell, const SHFILEOPSTRUCTA& record);

// True when a result means the player cancelled rather than a failure.
bool CancelledByPlayer(int result);

// The reason for a failed shell operation, in the program's own words.
Text DescribeShellResult(int result);

}  // namespace varnex::Filemanager
