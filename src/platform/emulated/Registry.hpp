// The registry of the emulated platform: keys and values in memory, in the
// 32-bit and the 64-bit view, answering with the codes Windows gives.
#pragma once

#include <map>
#include <optional>

#include "platform/Platform.hpp"

namespace varnex::platform::emulated {

class Registry : public RegistryApi {
public:
    struct Value {
        std::uint32_t type = 1;  // a string
        std::string data;  // raw bytes as stored
    };
    // Keys live in the 32-bit view unless `view64` is set.
    void SetRaw(const Text& keyPath, const Text& valueName, std::uint32_t type, const std::string& data,
                bool view64 = false);
    void SetString(const Text& keyPath, const Text& valueName, const Text& text, bool withNul = true);
    void CreateKey(const Text& keyPath, bool view64 = false);
    // A key the current user may read but not change: an open asking for the
    // right to set values is refused.
    void SetReadOnly(const Text& keyPath);
    [[nodiscard]] bool HasKey(const Text& keyPath, bool view64 = false) const;
    [[nodiscard]] std::optional<Value> Get(const Text& keyPath, const Text& valueName, bool view64 = false) const;
    [[nodiscard]] int OpenHandles() const { return static_cast<int>(open_.size()); }

    std::int32_t RegOpenKeyExA(std::uint32_t root, const Text& subKey, std::uint32_t options, std::uint32_t samDesired,
                               Key& result) override;
    std::int32_t RegQueryValueExA(Key key, const Text& valueName, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* size) override;
    std::int32_t RegSetValueExA(Key key, const Text& valueName, std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t size) override;
    std::int32_t RegCloseKey(Key key) override;

private:
    struct KeyData {
        std::map<Text, Value> values;  // by upper-cased name
        bool readOnly = false;
    };
    KeyData* Find(const Text& keyPath, bool view64);
    const KeyData* Find(const Text& keyPath, bool view64) const;

    std::map<Text, KeyData> keys32_, keys64_;  // by upper-cased path
    std::map<Key, KeyData*> open_;
    Key next_ = 0x100;
};

}  // namespace varnex::platform::emulated
