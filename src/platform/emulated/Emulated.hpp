// Windows semantics over a host folder, for the native tests and the
// benchmarks: drive letters mapped to host folders, "\" and "/" both
// separators, names resolved without regard to letter case, an in-memory
// registry, and scripted answers for boxes, dialogs and the shell's prompt.
#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Platform.hpp"

namespace varnex::emulated {

class Registry : public RegistryApi {
public:
    struct Value {
        std::uint32_t type = 1;
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

    std::int32_t RegOpenKeyExA(std::uint32_t root, const Text& subKey, std::uint32_t options,
                               std::uint32_t samDesired, Key& result) override;
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

// A file operation the next call will meet (fault injection). Rename and
// Recycle are the shell's rename and its delete into the recycle bin.
enum class FileOp {
    Open, Length, Read, Write, Close, Delete, FileLength, Replace, CreateFolder, ListFolder, Rename, Recycle
};
inline constexpr int kFileOps = 12;

class Files : public FileApi {
public:
    // `drives` maps a drive letter to a host folder.
    explicit Files(std::map<char, std::filesystem::path> drives);
    ~Files() override;

    // The host path of a Windows path (existing names resolved without regard
    // to letter case; missing names spelled as given). Empty when the drive
    // is not mapped.
    [[nodiscard]] std::filesystem::path HostPath(const Text& windowsPath) const;

    // The `nth` next call of `op` (1 = the next one) fails with `code`.
    void FailOn(FileOp op, int nth, std::uint32_t code);
    // Runs before every call of `op`, for files that vanish or appear
    // between two steps of a handler.
    void Before(FileOp op, std::function<void(const Text& path)> hook);
    // Files the program must not write: their opens for writing, deletes,
    // replacements and the shell's renames and deletes of them are refused
    // with "access denied", as for a write-protected file.
    void Protect(const Text& windowsPath);
    // A file another program holds open without sharing it: every open,
    // delete and replacement of it, and the shell's rename or delete, fails
    // with a sharing violation. Its length and listing stay readable, as
    // Windows reads them from the folder.
    void Lock(const Text& windowsPath);
    [[nodiscard]] int OpenHandles() const { return static_cast<int>(handles_.size()); }
    [[nodiscard]] int Calls(FileOp op) const { return calls_[static_cast<int>(op)]; }

    IoStatus Open(const Text& path, OpenMode mode, FileHandle& handle) override;
    IoStatus Length(FileHandle handle, std::int64_t& length) override;
    IoStatus Read(FileHandle handle, char* data, std::size_t size, std::size_t& got) override;
    IoStatus Write(FileHandle handle, std::string_view data) override;
    IoStatus Close(FileHandle handle) override;
    IoStatus Delete(const Text& path) override;
    IoStatus FileLength(const Text& path, std::int64_t& length) override;
    IoStatus ReplaceContent(const Text& path, std::string_view content) override;
    bool FolderExists(const Text& path) override;
    IoStatus CreateFolder(const Text& path) override;
    IoStatus ListFolder(const Text& folder, const Text& filePattern, std::vector<DirEntry>& entries) override;

private:
    friend class Shell;
    // Counts the call and returns an injected failure, if any.
    std::uint32_t Enter(FileOp op, const Text& path);
    // Why a file may not be reached now (a lock), or not changed
    // (`changing`: a lock or write protection); 0 when nothing stands in
    // the way.
    [[nodiscard]] std::uint32_t Refusal(const std::filesystem::path& host, bool changing) const;

    // The entry of `folder` whose name equals `name` without regard to
    // letter case, if any.
    [[nodiscard]] std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                                        const Text& name) const;
    // A folder of thousands of addons would be scanned once per rename, so a
    // big folder is indexed by upper-cased name instead; the kernel's change
    // notices keep the index current whoever changes the folder, the
    // program or the test.
    using FolderIndex = std::unordered_multimap<Text, Text>;  // upper-cased -> as the disk spells it
    static constexpr std::size_t kIndexFrom = 512;
    void Index(const std::filesystem::path& folder) const;
    void CatchUp() const;
    void DropIndexes() const;
    mutable int notify_ = -1;
    mutable std::map<std::filesystem::path, FolderIndex> indexes_;
    mutable std::map<int, std::filesystem::path> watched_;

    std::map<char, std::filesystem::path> drives_;
    std::map<FileHandle, int> handles_;  // handle -> host descriptor
    FileHandle nextHandle_ = 1;
    std::vector<std::filesystem::path> protected_, locked_;
    struct Fault {
        FileOp op;
        int nth;
        std::uint32_t code;
    };
    std::vector<Fault> faults_;
    std::map<int, std::function<void(const Text&)>> hooks_;
    int calls_[kFileOps] = {};
};

class Shell : public ShellApi {
public:
    explicit Shell(Files& files) : files_(files) {}

    struct Call {
        std::uint32_t wFunc;
        Text pFrom, pTo;
        std::uint16_t fFlags;
        int result;
    };
    std::vector<Call> calls;
    // Answer to the recycle-bin confirmation: true for Yes.
    bool confirmDelete = true;
    // Files moved into the recycle bin, by their original Windows path.
    std::vector<Text> recycled;
    bool reportsOwnErrors = false;
    std::filesystem::path recycleBin;  // where deleted files go; empty: removed

    int SHFileOperationA(const ShellFileOp& op) override;
    bool ReportsOwnErrors() const override { return reportsOwnErrors; }

private:
    Files& files_;
};

class Desktop : public varnex::Desktop {
public:
    struct Box {
        Text text, caption;
        std::uint32_t style;
    };
    std::vector<Box> boxes;
    std::deque<int> boxAnswers;  // IDOK when none is scripted
    std::deque<Text> dialogAnswers;  // "" (cancel) when none is scripted
    std::vector<FileDialogSetup> dialogs;  // the setups shown, open and save
    std::vector<bool> dialogWasSave;
    int keepResponsiveCalls = 0;
    bool ended = false;
    // Runs while a box is up, for tests that look at the state then.
    std::function<void(const Box&)> onBox;

    int MessageBox(const Text& text, const Text& caption, std::uint32_t style) override;
    Text ShowOpenDialog(const FileDialogSetup& setup) override;
    Text ShowSaveDialog(const FileDialogSetup& setup) override;
    // Whether a walk is due to keep the window responsive; by default
    // every 256th time it asks.
    std::function<bool()> responsiveDue;
    bool ResponsiveDue() override { return responsiveDue ? responsiveDue() : ++responsiveAsked_ % 256 == 0; }
    // Runs at every KeepResponsive, for tests that look at the window then.
    std::function<void()> onKeepResponsive;
    void KeepResponsive() override {
        ++keepResponsiveCalls;
        if (onKeepResponsive) onKeepResponsive();
    }
    void EndProgram() override { ended = true; }

private:
    long long responsiveAsked_ = 0;
};

}  // namespace varnex::emulated
