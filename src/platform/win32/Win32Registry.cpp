#include "platform/win32/Win32Registry.hpp"

// After the program's headers: <windows.h> turns names such as MessageBox
// into macros, which must not rename the program's own declarations.
#include <windows.h>

namespace varnex {

// HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 to a 64-bit program, as the
// Windows headers define it. Wine also takes it zero-extended; the program
// does not count on every system being that lenient.
void* Win32Registry::PredefinedRoot(std::uint32_t root) {
    return reinterpret_cast<void*>(static_cast<LONG_PTR>(static_cast<LONG>(root)));
}

std::int32_t Win32Registry::RegOpenKeyExA(std::uint32_t root, const Text& subKey, std::uint32_t options,
                                          std::uint32_t samDesired, Key& result) {
    HKEY opened = nullptr;
    const auto rootKey = static_cast<HKEY>(PredefinedRoot(root));
    const LSTATUS status = ::RegOpenKeyExA(rootKey, subKey.c_str(), options, samDesired, &opened);
    if (status != ERROR_SUCCESS) return status;
    const Key key = reinterpret_cast<std::uintptr_t>(opened);
    keys_[key] = winapi::UniqueKey(opened);
    result = key;
    return ERROR_SUCCESS;
}

std::int32_t Win32Registry::RegQueryValueExA(Key key, const Text& valueName, std::uint32_t* type,
                                             std::uint8_t* data, std::uint32_t* size) {
    const auto open = keys_.find(key);
    if (open == keys_.end()) return ERROR_INVALID_HANDLE;
    // DWORD is not std::uint32_t to the compiler; a null pointer must stay
    // null, since it tells the registry what is asked for.
    DWORD typeValue = type ? *type : 0;
    DWORD sizeValue = size ? *size : 0;
    const LSTATUS status = ::RegQueryValueExA(static_cast<HKEY>(open->second.get()), valueName.c_str(), nullptr,
                                              type ? &typeValue : nullptr, data, size ? &sizeValue : nullptr);
    if (type) *type = typeValue;
    if (size) *size = sizeValue;
    return status;
}

std::int32_t Win32Registry::RegSetValueExA(Key key, const Text& valueName, std::uint32_t type,
                                           const std::uint8_t* data, std::uint32_t size) {
    const auto open = keys_.find(key);
    if (open == keys_.end()) return ERROR_INVALID_HANDLE;
    return ::RegSetValueExA(static_cast<HKEY>(open->second.get()), valueName.c_str(), 0, type, data, size);
}

std::int32_t Win32Registry::RegCloseKey(Key key) {
    const auto open = keys_.find(key);
    if (open == keys_.end()) return ERROR_INVALID_HANDLE;
    const auto hkey = static_cast<HKEY>(open->second.release());
    keys_.erase(open);
    return ::RegCloseKey(hkey);
}

}  // namespace varnex
