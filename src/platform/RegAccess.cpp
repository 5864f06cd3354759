#include "platform/RegAccess.hpp"

#include <cstdlib>
#include <cstring>

namespace varnex {

Text ValueText(const RegValue& value) {
    if (const auto* text = std::get_if<Text>(&value)) return *text;
    if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_string(*number);
    return {};
}

RegValue RegAccess::ReadRegValue(std::uint32_t root, const Text& keyPath, const Text& valueName) {
    RegistryApi::Key key = 0;
    (void)api_.RegOpenKeyExA(root, keyPath, 0, kKeyAccess | KEY_WOW64_32KEY_, key);
    RegValue value;
    (void)GetValueData(key, valueName, value);
    (void)api_.RegCloseKey(key);
    return value;
}

void RegAccess::WriteRegValue(std::uint32_t root, const Text& keyPath, const Text& valueName, const RegValue& value,
                              std::uint32_t valueType) {
    RegistryApi::Key key = 0;
    (void)api_.RegOpenKeyExA(root, keyPath, 0, kKeyAccess | KEY_WOW64_32KEY_, key);
    (void)PutValueData(key, valueName, valueType, value);
    (void)api_.RegCloseKey(key);
}

std::int32_t RegAccess::GetValueData(RegistryApi::Key key, const Text& valueName, RegValue& value) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::int32_t result = api_.RegQueryValueExA(key, valueName, &type, nullptr, &size);
    if (result != 0) return result;
    switch (type) {
        case REG_SZ_: {
            Text buffer(size, '\0');
            result =
                api_.RegQueryValueExA(key, valueName, nullptr, reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
            if (result != 0) {
                value = RegValue{};
                return result;
            }
            // The character at the reported size is a stored NUL or the last
            // character of a string stored without one. A size of 0 leaves
            // nothing to look at, and the value as it was.
            if (size == 0 || size > buffer.size()) return result;
            value = Text(buffer, 0, buffer[size - 1] == '\0' ? size - 1 : size);
            return 0;
        }
        case REG_DWORD_: {
            std::int32_t number = 0;
            std::uint32_t numberSize = sizeof number;
            result =
                api_.RegQueryValueExA(key, valueName, nullptr, reinterpret_cast<std::uint8_t*>(&number), &numberSize);
            if (result == 0) value = number;
            return result;
        }
        default:
            return -1;
    }
}

std::int32_t RegAccess::PutValueData(RegistryApi::Key key, const Text& valueName, std::uint32_t valueType,
                                     const RegValue& value) {
    switch (valueType) {
        case REG_SZ_: {
            const Text text = ValueText(value);
            return api_.RegSetValueExA(key, valueName, REG_SZ_, reinterpret_cast<const std::uint8_t*>(text.data()),
                                       static_cast<std::uint32_t>(text.size()));
        }
        case REG_DWORD_: {
            std::int32_t number = 0;
            if (const auto* n = std::get_if<std::int32_t>(&value))
                number = *n;
            else
                number = static_cast<std::int32_t>(std::strtol(ValueText(value).c_str(), nullptr, 10));
            std::uint8_t bytes[sizeof number];
            std::memcpy(bytes, &number, sizeof number);
            return api_.RegSetValueExA(key, valueName, REG_DWORD_, bytes, sizeof bytes);
        }
        default:
            return 0;
    }
}

}  // namespace varnex
