// The shell's file-operation record and call: every rename and delete of an
// addon file goes through it.
#pragma once

#include <cstdint>

#include "platform/Platform.hpp"

namespace varnex::Filemanager {

inline constexpr std::uint32_t FO_DELETE = 3;
inline constexpr std::uint32_t FO_RENAME = 4;
inline constexpr std::uint16_t FOF_ALLOWUNDO = 0x40;

// Results of the shell's own besides Windows error codes.
inline constexpr int DE_SAMEFILE = 0x71;
inline constexpr int DE_OPCANCELLED = 0x75;
inline constexpr int DE_ACCESSDENIEDSRC = 0x78;
inline constexpr int DE_INVALIDFILES = 0x7C;
inline constexpr int DE_PATHTOODEEP = 0x79;
inline constexpr int DE_FILENAMETOOLONG = 0x81;
// A source that does not exist, as Wine's shell reports it.
inline constexpr int kSourceMissing = 0x402;

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
