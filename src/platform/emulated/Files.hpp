// Files and folders of the emulated platform: drive letters mapped to host
// folders, "\\" and "/" both separators, names resolved without regard to
// letter case, paths bound by MAX_PATH as Windows' single-byte calls bind
// them, and failures, locks and hooks that tests arm.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Platform.hpp"
#include "platform/emulated/FolderIndex.hpp"

struct stat;

namespace varnex::platform::emulated {

// A host file descriptor that closes itself.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }
    [[nodiscard]] int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now; the close's own result, for a caller that must know it.
    int Reset();

private:
    int fd_ = -1;
};

// A file operation the next call will meet (fault injection). Rename and
// Recycle are the shell's rename and its delete into the recycle bin.
enum class FileOp {
    Open,
    Length,
    Read,
    Write,
    Close,
    Delete,
    FileLength,
    Replace,
    CreateFolder,
    ListFolder,
    Rename,
    Recycle
};
inline constexpr int kFileOps = static_cast<int>(FileOp::Recycle) + 1;

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
    // The system's code page, by its number (1252 unless a test chooses
    // another): the letters the program is told of.
    // The process has one code page, as a system has: the emulated one is
    // taken up at once.
    void UseCodePage(unsigned codePage) {
        codePage_ = codePage;
        UseSystemLetters(Letters());
    }
    [[nodiscard]] int OpenHandles() const { return static_cast<int>(handles_.size()); }
    [[nodiscard]] int Calls(FileOp op) const { return calls_[static_cast<int>(op)]; }
    // Paths that reached the files or the shell though the code page does
    // not hold them (see Held): the program must never pass one.
    std::vector<Text> notHeld;

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
    bool InUse(const Text& path) override;
    [[nodiscard]] CodePageLetters Letters() const override { return CodePageLetters::Of(codePage_); }

private:
    friend class Shell;
    // What the host said of a path on the way to its host path: `Found`
    // (`info` then holds the path's own status), `Absent` (its folder is
    // there and holds no such name), or `Unsure` (not looked at to the end).
    enum class Look { Unsure, Found, Absent };
    std::filesystem::path Resolve(const Text& windowsPath, struct stat& info, Look& look) const;
    // True when the resolved `host` is there, looking at it only where
    // Resolve did not; `info` then holds its status.
    static bool Seen(const std::filesystem::path& host, struct stat& info, Look look);
    // Counts the call and returns an injected failure, if any, or the
    // refusal of a path longer than Windows takes.
    std::uint32_t Enter(FileOp op, const Text& path);
    // Why a path without a host path cannot be reached: its drive letter is
    // not mapped, or it names no drive.
    [[nodiscard]] std::uint32_t Unreachable(const Text& windowsPath) const;
    // What a call wants of a file: to read it, or to change it.
    enum class Use : std::uint8_t { Read, Change };
    // Why a file may not be read now (a lock), or not changed (a lock or
    // write protection); 0 when nothing stands in the way.
    [[nodiscard]] std::uint32_t Refusal(const std::filesystem::path& host, Use use) const;

    // The entry of `folder` whose name equals `name` without regard to
    // letter case, if any.
    [[nodiscard]] std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                                        const Text& name) const;
    // Big folders are looked up through an index instead of a scan per name.
    mutable FolderIndex index_;

    unsigned codePage_ = 1252;
    std::map<char, std::filesystem::path> drives_;
    std::map<FileHandle, UniqueFd> handles_;
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

}  // namespace varnex::platform::emulated
