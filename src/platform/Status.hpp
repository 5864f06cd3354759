// Results of platform calls. Windows error codes are the common language of
// both platforms, so the core can name a failure to the player the same way
// whether it runs on Windows, under Wine or on the emulated platform.
#pragma once

#include <cstdint>

#include "text/ClassicText.hpp"

namespace varnex {

namespace errc {
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kWriteProtect = 19;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kLockViolation = 33;
inline constexpr std::uint32_t kFileExists = 80;
inline constexpr std::uint32_t kDiskFull = 112;
inline constexpr std::uint32_t kInvalidName = 123;
inline constexpr std::uint32_t kAlreadyExists = 183;
inline constexpr std::uint32_t kFilenameTooLong = 206;
inline constexpr std::uint32_t kInvalidParameter = 87;
inline constexpr std::uint32_t kMoreData = 234;
inline constexpr std::uint32_t kCancelled = 1223;
inline constexpr std::uint32_t kTooManyOpenFiles = 4;
inline constexpr std::uint32_t kGeneric = 31;
// The program's own code (bit 29 marks codes Windows never uses): a name or
// path that the system's code page does not hold (see Held), which the
// program therefore never hands to the system.
inline constexpr std::uint32_t kNameNotHeld = 0x20000001;
// The program's own code: the path lies on a drive letter this session does
// not have. A program run as administrator does not see the drives the
// player mapped without administrator rights.
inline constexpr std::uint32_t kDriveNotFound = 0x20000002;
}  // namespace errc

struct [[nodiscard]] IoStatus {
    std::uint32_t code = 0;
    [[nodiscard]] bool ok() const { return code == 0; }
    // The file, or a folder on its way, is not there (any more).
    [[nodiscard]] bool gone() const { return code == errc::kFileNotFound || code == errc::kPathNotFound; }
};

// The reason for a failure in the program's own words, for message boxes.
Text DescribeError(std::uint32_t code);

}  // namespace varnex
