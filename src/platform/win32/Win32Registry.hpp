// The registry functions the program calls, handed straight to advapi32.
// The keys it opens stay owned here until the program closes them, so none
// outlives this object, and a key it never opened (the 0 a failed open
// leaves behind) is refused rather than passed on.
#pragma once

#include <map>

#include "platform/Platform.hpp"
#include "platform/win32/OwnedHandles.hpp"

namespace varnex::platform::win32 {

class Win32Registry final : public RegistryApi {
public:
    [[nodiscard]] std::int32_t RegOpenKeyExA(std::uint32_t root, const Text& subKey, std::uint32_t options,
                                             std::uint32_t samDesired, Key& result) override;
    [[nodiscard]] std::int32_t RegQueryValueExA(Key key, const Text& valueName, std::uint32_t* type, std::uint8_t* data,
                                                std::uint32_t* size) override;
    [[nodiscard]] std::int32_t RegSetValueExA(Key key, const Text& valueName, std::uint32_t type,
                                              const std::uint8_t* data, std::uint32_t size) override;
    [[nodiscard]] std::int32_t RegCloseKey(Key key) override;

    [[nodiscard]] int OpenKeys() const { return static_cast<int>(keys_.size()); }

    // The key handle that a predefined root, a 32-bit value such as
    // 0x80000002, stands for in a 64-bit program: sign-extended.
    [[nodiscard]] static void* PredefinedRoot(std::uint32_t root);

private:
    std::map<Key, UniqueKey> keys_;
};

}  // namespace varnex::platform::win32
