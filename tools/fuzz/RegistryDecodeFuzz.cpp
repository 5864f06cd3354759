// Reading a registry value against a slow reference, over a registry whose
// answers come from the input: the open's and each query's result, the
// value's type, its data when its size is asked and its data when it is
// read (another program may change it in between). Then a value written by
// the program is read back from the in-memory registry.
#include <cstring>

#include "platform/RegAccess.hpp"
#include "platform/emulated/Emulated.hpp"
#include "FuzzInput.hpp"

namespace {

using varnex::RegValue;
using varnex::Text;
using varnex::fuzz::Differ;

constexpr varnex::RegistryApi::Key kHandle = 0x4D2;
constexpr std::int32_t kInvalidHandle = 6, kMoreData = 234;

struct Reader {
    const std::uint8_t* at;
    std::size_t left;
    std::uint8_t Byte() { return left ? (--left, *at++) : 0; }
    Text Bytes(std::size_t count) {
        count = std::min(count, left);
        Text out(reinterpret_cast<const char*>(at), count);
        at += count;
        left -= count;
        return out;
    }
    Text Rest() { return Bytes(left); }
};

std::int32_t Code(std::uint8_t b) {
    const std::int32_t codes[] = {2, 5, 6, 87, kMoreData, 1018, -1};
    return b < 160 ? 0 : codes[b % 7];
}

struct Script {
    std::int32_t openCode, sizeCode, dataCode;
    std::uint32_t type;
    Text sized, read;  // the data when its size is asked, and when it is read
};

class ScriptedRegistry final : public varnex::RegistryApi {
public:
    explicit ScriptedRegistry(const Script& s) : s_(s) {}
    int opens = 0, closes = 0;
    Key closed = ~Key{0};

    std::int32_t RegOpenKeyExA(std::uint32_t root, const Text&, std::uint32_t, std::uint32_t sam,
                               Key& result) override {
        ++opens;
        if (root != 0x80000002u || (sam & 0x3Fu) != 0x3Fu) Differ("open", "another root or mask", "HKLM, 0x3F");
        if (s_.openCode != 0) return s_.openCode;
        result = kHandle;
        return 0;
    }
    std::int32_t RegQueryValueExA(Key key, const Text&, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* size) override {
        if (key != kHandle) return kInvalidHandle;
        if (!size) Differ("query", "without a size", "with a size");
        switch (queries_++) {
            case 0:
                if (data || !type) Differ("first query", "asks for data", "asks for type and size");
                if (s_.sizeCode != 0) return s_.sizeCode;
                *type = s_.type;
                *size = static_cast<std::uint32_t>(s_.sized.size());
                return 0;
            case 1:
                if (!data) Differ("second query", "asks for no data", "reads the data");
                if (s_.dataCode != 0) return s_.dataCode;
                if (*size < s_.read.size()) {
                    *size = static_cast<std::uint32_t>(s_.read.size());
                    return kMoreData;
                }
                std::memcpy(data, s_.read.data(), s_.read.size());
                *size = static_cast<std::uint32_t>(s_.read.size());
                return 0;
            default:
                Differ("queries", "a third", "two at most");
        }
    }
    std::int32_t RegSetValueExA(Key, const Text&, std::uint32_t, const std::uint8_t*, std::uint32_t) override {
        Differ("read", "writes", "only reads");
    }
    std::int32_t RegCloseKey(Key key) override {
        ++closes;
        closed = key;
        return key == kHandle ? 0 : kInvalidHandle;
    }

private:
    const Script& s_;
    int queries_ = 0;
};

struct Answer {
    RegValue value;
    std::int32_t code;
};

// The value read from an open key, step by step as the registry module
// reads it, starting from `value`.
Answer Decode(const Script& s, RegValue value) {
    if (s.sizeCode != 0) return {value, s.sizeCode};
    std::size_t size = s.sized.size();
    if (s.type == 1) {
        Text buffer(size, '\0');
        const std::int32_t code = s.dataCode != 0 ? s.dataCode : s.read.size() > size ? kMoreData : 0;
        if (code != 0) return {RegValue{}, code};
        for (std::size_t i = 0; i < s.read.size(); ++i) buffer[i] = s.read[i];
        size = s.read.size();
        // No character at position 0 to look at: the value stays as it was.
        if (size == 0) return {value, 0};
        if (buffer[size - 1] == '\0') return {Text(buffer, 0, size - 1), 0};
        return {Text(buffer, 0, size), 0};
    }
    if (s.type == 4) {
        const std::int32_t code = s.dataCode != 0 ? s.dataCode : s.read.size() > 4 ? kMoreData : 0;
        if (code != 0) return {value, code};
        std::uint32_t number = 0;
        for (std::size_t i = 0; i < s.read.size(); ++i)
            number |= std::uint32_t{static_cast<std::uint8_t>(s.read[i])} << (8 * i);
        return {static_cast<std::int32_t>(number), 0};
    }
    return {value, -1};
}

Text Shown(const RegValue& value) {
    if (std::holds_alternative<std::monostate>(value)) return "(empty)";
    if (const auto* n = std::get_if<std::int32_t>(&value)) return "(number) " + std::to_string(*n);
    return "(text) " + std::get<Text>(value);
}

void Same(const char* what, const RegValue& program, const RegValue& reference) {
    if (program != reference) Differ(what, Shown(program), Shown(reference));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace varnex;
    Reader in{data, size};
    Script s{};
    s.openCode = Code(in.Byte());
    s.sizeCode = Code(in.Byte());
    s.type = in.Byte() % 12;
    s.sized = in.Bytes(in.Byte());
    s.dataCode = Code(in.Byte());
    const std::uint8_t changed = in.Byte();
    s.read = changed & 1 ? in.Bytes(changed >> 1) : s.sized;
    const RegValue before[3] = {RegValue{}, RegValue{Text("before")}, RegValue{std::int32_t{-7}}};
    const RegValue& start = before[in.Byte() % 3];

    {
        ScriptedRegistry registry(s);
        const RegValue value = RegAccess(registry).ReadRegValue(HKEY_LOCAL_MACHINE_, "SOFTWARE\\Key", "Main");
        const bool opened = s.openCode == 0;
        Same("ReadRegValue", value, opened ? Decode(s, RegValue{}).value : RegValue{});
        if (registry.opens != 1 || registry.closes != 1 || registry.closed != (opened ? kHandle : 0))
            Differ("handles",
                   "opened " + std::to_string(registry.opens) + ", closed " + std::to_string(registry.closes),
                   "one opened, the same one closed");
    }
    {
        ScriptedRegistry registry(s);
        RegValue value = start;
        const std::int32_t code = RegAccess(registry).GetValueData(kHandle, "Main", value);
        const Answer want = Decode(s, start);
        Same("GetValueData", value, want.value);
        if (code != want.code) Differ("GetValueData's code", std::to_string(code), std::to_string(want.code));
    }

    // A value the program writes reads back the same, less one final NUL;
    // an empty text reads as empty, and other types write nothing.
    const std::uint8_t how = in.Byte();
    const std::uint32_t type = how % 6;
    const bool keyExists = (how & 0x80) == 0;
    std::uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) bits |= std::uint32_t{in.Byte()} << (8 * i);
    const auto number = static_cast<std::int32_t>(bits);
    const Text text = in.Rest();
    platform::emulated::Registry registry;
    const Text key = "SOFTWARE\\Codemasters\\Operation Flashpoint";
    if (keyExists) registry.CreateKey(key);
    RegAccess access(registry);
    access.WriteRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX", type == 4 ? RegValue{number} : RegValue{text}, type);
    RegValue want;
    if (keyExists && type == 4) want = number;
    if (keyExists && type == 1 && !text.empty()) want = text.back() == '\0' ? text.substr(0, text.size() - 1) : text;
    Same("written and read back", access.ReadRegValue(HKEY_LOCAL_MACHINE_, key, "VARNX"), want);
    if (registry.HasKey(key) != keyExists || registry.OpenHandles() != 0)
        Differ("keys", "created one or left one open", "none created, none open");
    return 0;
}
