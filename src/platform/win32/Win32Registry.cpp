#include "platform/win32/Win32Registry.hpp"

// After the program's headers: <windows.h> turns names such as MessageBox
// into macros, which must not rename the program's own declarations.
#include <windows.h>

#include <cstring>
#include <string>

#include "platform/win32/CodePage.hpp"

namespace varnex::platform::win32 {

namespace {

// The single-byte read hands a string with letters the code page cannot
// hold over with look-alikes ("C:\\Lodz" for "C:\\Łódź" on a Western
// system): a folder that is not the player's, written back at Exit. Read
// wide and put into the code page without best fit, such a string has "?"
// in their place, which the program knows it cannot use (see Held). Only
// such strings are changed; every other one keeps the bytes the
// single-byte read gave, with or without its closing NUL as that read
// reported it. False when the string no longer fits the caller's buffer.
bool WithoutBestFit(HKEY key, const Text& valueName, std::uint8_t* data, DWORD capacity, DWORD& size) {
    const std::wstring name = Widen(valueName);
    DWORD bytes = 0;
    if (::RegQueryValueExW(key, name.c_str(), nullptr, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return true;
    std::wstring wide(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(wide.data()), &bytes) !=
        ERROR_SUCCESS)
        return true;
    wide.resize(bytes / sizeof(wchar_t));
    while (!wide.empty() && wide.back() == L'\0') wide.pop_back();
    Text unheld;
    Text text = Narrow(wide, &unheld);
    if (unheld.empty()) return true;
    if (size > 0 && data[size - 1] == '\0') text += '\0';
    if (text.size() > capacity) return false;
    std::memcpy(data, text.data(), text.size());
    size = static_cast<DWORD>(text.size());
    return true;
}

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace

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
    keys_[key] = UniqueKey(opened);
    result = key;
    return ERROR_SUCCESS;
}

std::int32_t Win32Registry::RegQueryValueExA(Key key, const Text& valueName, std::uint32_t* type, std::uint8_t* data,
                                             std::uint32_t* size) {
    const auto open = keys_.find(key);
    if (open == keys_.end()) return ERROR_INVALID_HANDLE;
    // DWORD is not std::uint32_t to the compiler; a null size or data
    // pointer must stay null, since it tells the registry what is asked for.
    // The type is always asked: a string may need reading again.
    DWORD typeValue = type ? *type : 0;
    DWORD sizeValue = size ? *size : 0;
    const DWORD capacity = sizeValue;
    const auto hkey = static_cast<HKEY>(open->second.get());
    DWORD stored = typeValue;
    LSTATUS status = ::RegQueryValueExA(hkey, valueName.c_str(), nullptr, &stored, data, size ? &sizeValue : nullptr);
    if (type) typeValue = stored;
    if (status == ERROR_SUCCESS && data && size && IsString(stored) &&
        !WithoutBestFit(hkey, valueName, data, capacity, sizeValue))
        status = ERROR_MORE_DATA;
    if (type) *type = typeValue;
    if (size) *size = sizeValue;
    return status;
}

std::int32_t Win32Registry::RegSetValueExA(Key key, const Text& valueName, std::uint32_t type, const std::uint8_t* data,
                                           std::uint32_t size) {
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

}  // namespace varnex::platform::win32
