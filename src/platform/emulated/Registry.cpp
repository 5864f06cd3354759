#include "platform/emulated/Registry.hpp"

#include <cstring>

#include "platform/RegAccess.hpp"

namespace varnex::platform::emulated {

Registry::KeyData* Registry::Find(const Text& keyPath, bool view64) {
    auto& keys = view64 ? keys64_ : keys32_;
    const auto it = keys.find(UpperAscii(keyPath));
    return it == keys.end() ? nullptr : &it->second;
}

const Registry::KeyData* Registry::Find(const Text& keyPath, bool view64) const {
    const auto& keys = view64 ? keys64_ : keys32_;
    const auto it = keys.find(UpperAscii(keyPath));
    return it == keys.end() ? nullptr : &it->second;
}

void Registry::CreateKey(const Text& keyPath, bool view64) { (view64 ? keys64_ : keys32_)[UpperAscii(keyPath)]; }

void Registry::SetRaw(const Text& keyPath, const Text& valueName, std::uint32_t type, const std::string& data,
                      bool view64) {
    (view64 ? keys64_ : keys32_)[UpperAscii(keyPath)].values[UpperAscii(valueName)] = {type, data};
}

void Registry::SetString(const Text& keyPath, const Text& valueName, const Text& text, bool withNul) {
    SetRaw(keyPath, valueName, REG_SZ_, withNul ? text + '\0' : text);
}

void Registry::SetReadOnly(const Text& keyPath) { keys32_[UpperAscii(keyPath)].readOnly = true; }

bool Registry::HasKey(const Text& keyPath, bool view64) const { return Find(keyPath, view64) != nullptr; }

std::optional<Registry::Value> Registry::Get(const Text& keyPath, const Text& valueName, bool view64) const {
    const KeyData* key = Find(keyPath, view64);
    if (!key) return std::nullopt;
    const auto it = key->values.find(UpperAscii(valueName));
    if (it == key->values.end()) return std::nullopt;
    return it->second;
}

std::int32_t Registry::RegOpenKeyExA(std::uint32_t root, const Text& subKey, std::uint32_t, std::uint32_t sam,
                                     Key& result) {
    if (root != HKEY_LOCAL_MACHINE_) return errc::kFileNotFound;
    KeyData* key = Find(subKey, (sam & KEY_WOW64_32KEY_) == 0);
    if (!key) return errc::kFileNotFound;
    if (key->readOnly && (sam & KEY_SET_VALUE_)) return errc::kAccessDenied;
    result = next_++;
    open_[result] = key;
    return 0;
}

std::int32_t Registry::RegQueryValueExA(Key key, const Text& valueName, std::uint32_t* type, std::uint8_t* data,
                                        std::uint32_t* size) {
    const auto it = open_.find(key);
    if (it == open_.end()) return errc::kInvalidHandle;
    const auto value = it->second->values.find(UpperAscii(valueName));
    if (value == it->second->values.end()) return errc::kFileNotFound;
    const auto& stored = value->second;
    if (type) *type = stored.type;
    const auto needed = static_cast<std::uint32_t>(stored.data.size());
    if (!size) return data ? errc::kInvalidParameter : 0;
    if (data) {
        if (*size < needed) {
            *size = needed;
            return errc::kMoreData;
        }
        std::memcpy(data, stored.data.data(), needed);
    }
    *size = needed;
    return 0;
}

std::int32_t Registry::RegSetValueExA(Key key, const Text& valueName, std::uint32_t type, const std::uint8_t* data,
                                      std::uint32_t size) {
    const auto it = open_.find(key);
    if (it == open_.end()) return errc::kInvalidHandle;
    it->second->values[UpperAscii(valueName)] = {type, std::string(reinterpret_cast<const char*>(data), size)};
    return 0;
}

std::int32_t Registry::RegCloseKey(Key key) { return open_.erase(key) ? 0 : errc::kInvalidHandle; }

}  // namespace varnex::platform::emulated
