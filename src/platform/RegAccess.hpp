// Reading and writing single named registry values. Every failure is
// silent: a value that cannot be read is empty, a write that fails does
// nothing, and no key is ever created.
#pragma once

#include <cstdint>
#include <variant>

#include "platform/Platform.hpp"

namespace varnex {

inline constexpr std::uint32_t HKEY_LOCAL_MACHINE_ = 0x80000002u;
inline constexpr std::uint32_t REG_SZ_ = 1;
inline constexpr std::uint32_t REG_DWORD_ = 4;
// The six specific key rights; with the 32-bit view, because the game's
// 32-bit installer wrote its keys there. Varnex is a 32-bit program and
// reads that view anyway; the flag keeps a 64-bit build reading it too.
inline constexpr std::uint32_t kKeyAccess = 0x3F;
inline constexpr std::uint32_t KEY_WOW64_32KEY_ = 0x0200;
inline constexpr std::uint32_t KEY_SET_VALUE_ = 0x0002;

// Empty, a string or a signed 32-bit number.
using RegValue = std::variant<std::monostate, Text, std::int32_t>;

// The value as text: empty stays empty, a number gives its digits.
Text ValueText(const RegValue& value);

class RegAccess {
public:
    explicit RegAccess(RegistryApi& api) : api_(api) {}

    RegValue ReadRegValue(std::uint32_t root, const Text& keyPath, const Text& valueName);
    void WriteRegValue(std::uint32_t root, const Text& keyPath, const Text& valueName, const RegValue& value,
                       std::uint32_t valueType);

    std::int32_t GetValueData(RegistryApi::Key key, const Text& valueName, RegValue& value);
    std::int32_t PutValueData(RegistryApi::Key key, const Text& valueName, std::uint32_t valueType,
                              const RegValue& value);

private:
    RegistryApi& api_;
};

}  // namespace varnex
