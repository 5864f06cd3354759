// The shell's file operation: the program's record becomes a real
// SHFILEOPSTRUCTA with no owner window and goes to shell32, its paths
// written the Windows way.
#pragma once

#include "platform/Platform.hpp"

namespace varnex::platform::win32 {

class Win32Shell final : public ShellApi {
public:
    [[nodiscard]] int SHFileOperationA(const ShellFileOp& op) override;
    // The recycle bin's "Display delete confirmation dialog", as the player
    // set it.
    [[nodiscard]] bool ConfirmsDelete() const override;
};

}  // namespace varnex::platform::win32
