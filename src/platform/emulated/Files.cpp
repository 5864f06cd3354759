#include "platform/emulated/Files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace varnex::platform::emulated {

namespace fs = std::filesystem;

namespace {

std::uint32_t FromErrno(int e) {
    switch (e) {
        case ENOENT:
            return errc::kFileNotFound;
        case ENOTDIR:
            return errc::kPathNotFound;
        case EACCES:
        case EPERM:
        case EISDIR:
            return errc::kAccessDenied;
        case EROFS:
            return errc::kWriteProtect;
        case EEXIST:
            return errc::kAlreadyExists;
        case ENOSPC:
            return errc::kDiskFull;
        case ENAMETOOLONG:
            return errc::kFilenameTooLong;
        case EMFILE:
        case ENFILE:
            return errc::kTooManyOpenFiles;
        default:
            return errc::kGeneric;
    }
}

// A file's parent missing gives "path not found", as Windows says.
std::uint32_t OpenError(const fs::path& host, int e) {
    if (e == ENOENT && !fs::is_directory(host.parent_path())) return errc::kPathNotFound;
    return FromErrno(e);
}

// Windows' single-byte file calls refuse a path of MAX_PATH characters or
// more, and the making of a folder whose path leaves no room for an 8.3
// name below it; a folder is read through its path and "\*". The shell's
// renames and deletes are bound by its own rules, not these.
constexpr std::size_t kMaxPath = 260, kLongestNewFolder = kMaxPath - 13, kUnbound = 0;

// Every operation once: the longest path it takes (kUnbound: the shell's
// own rules apply) and what Windows adds to the path before it looks.
struct OpRule {
    FileOp op;
    std::size_t longest;
    std::size_t added;
};
constexpr OpRule kRules[] = {
    {FileOp::Open, kMaxPath - 1, 0},
    {FileOp::Length, kMaxPath - 1, 0},
    {FileOp::Read, kMaxPath - 1, 0},
    {FileOp::Write, kMaxPath - 1, 0},
    {FileOp::Close, kMaxPath - 1, 0},
    {FileOp::Delete, kMaxPath - 1, 0},
    {FileOp::FileLength, kMaxPath - 1, 0},
    {FileOp::Replace, kMaxPath - 1, 0},
    {FileOp::CreateFolder, kLongestNewFolder, 0},
    {FileOp::ListFolder, kMaxPath - 1, 2},
    {FileOp::Rename, kUnbound, 0},
    {FileOp::Recycle, kUnbound, 0},
};
static_assert(std::size(kRules) == kFileOps);

constexpr bool InOrder() {
    for (int i = 0; i < kFileOps; ++i)
        if (static_cast<int>(kRules[i].op) != i) return false;
    return true;
}
static_assert(InOrder(), "the rules are looked up by the operation's number");

// A folder being read, closed when the reading ends.
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using UniqueDir = std::unique_ptr<DIR, DirCloser>;

std::uint32_t PathLimit(FileOp op, const Text& path) {
    const OpRule& rule = kRules[static_cast<int>(op)];
    return rule.longest != kUnbound && path.size() + rule.added > rule.longest ? errc::kFilenameTooLong : 0;
}

}  // namespace

std::uint32_t Files::Unreachable(const Text& windowsPath) const {
    // A drive letter the machine does not have, as an elevated run meets
    // the drives the player mapped.
    const bool drive = windowsPath.size() >= 2 && windowsPath[1] == ':' && UpperAscii(windowsPath[0]) >= 'A' &&
                       UpperAscii(windowsPath[0]) <= 'Z';
    return drive && !drives_.contains(UpperAscii(windowsPath[0])) ? errc::kDriveNotFound : errc::kPathNotFound;
}

Files::Files(std::map<char, fs::path> drives) {
    UseSystemLetters(Letters());
    for (auto& [letter, host] : drives) drives_[UpperAscii(letter)] = host;
}

Files::~Files() = default;

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        Reset();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

int UniqueFd::Reset() { return fd_ < 0 ? 0 : ::close(std::exchange(fd_, -1)); }

std::optional<fs::path> Files::FindIgnoringCase(const fs::path& folder, const Text& name) const {
    const Text wanted = UpperAscii(name);
    if (Text found; index_.Find(folder, name, found)) {
        if (found.empty()) return std::nullopt;
        return folder / found;
    }
    std::error_code ec;
    std::size_t scanned = 0;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (UpperAscii(entry.path().filename().string()) == wanted) return entry.path();
        ++scanned;
    }
    if (scanned >= FolderIndex::kFrom) index_.Add(folder);
    return std::nullopt;
}

fs::path Files::HostPath(const Text& windowsPath) const {
    struct stat info {};
    Look look = Look::Unsure;
    return Resolve(windowsPath, info, look);
}

fs::path Files::Resolve(const Text& windowsPath, struct stat& info, Look& look) const {
    look = Look::Unsure;
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return {};
    const auto drive = drives_.find(UpperAscii(windowsPath[0]));
    if (drive == drives_.end()) return {};
    const std::vector<Text> parts = SplitAtSeparators(windowsPath, 2);
    if (parts.empty()) return drive->second;
    // Nearly every path names its folders as the disk spells them, and
    // mostly its file too: one look at the whole path, or at its folder,
    // settles it; only the rest are resolved step by step.
    const bool plain =
        std::none_of(parts.begin(), parts.end(), [](const Text& part) { return part == "." || part == ".."; });
    if (plain) {
        Text joined = drive->second.native();
        std::size_t folderEnd = 0;
        for (const Text& part : parts) {
            folderEnd = joined.size();
            if (joined.empty() || joined.back() != '/') joined += '/';
            joined += part;
        }
        const fs::path folder = joined.substr(0, folderEnd);
        auto lookAt = [&](fs::path path) {
            look = ::stat(path.c_str(), &info) == 0 ? Look::Found : Look::Unsure;
            return path;
        };
        // The index of a big folder follows the kernel's notices of every
        // change, whoever makes it: a name it does not hold, such as the
        // new name of an addon about to be switched, needs no look at the
        // disk at all.
        if (Text name; index_.Find(folder, parts.back(), name)) {
            if (!name.empty()) return lookAt(folder / name);
            look = Look::Absent;
            return joined;
        }
        if (::stat(joined.c_str(), &info) == 0) {
            look = Look::Found;
            return joined;
        }
        struct stat folderInfo {};
        if (::stat(folder.c_str(), &folderInfo) == 0) {
            if (!S_ISDIR(folderInfo.st_mode)) return joined;
            if (auto other = FindIgnoringCase(folder, parts.back())) return lookAt(std::move(*other));
            return joined;
        }
    }
    fs::path host = drive->second;
    auto step = [&](const Text& part) {
        if (part == ".") return;
        if (part == "..") {
            host = host.parent_path();
        } else {
            fs::path next = host / part;
            std::error_code ec;
            if (!fs::exists(next, ec) && fs::is_directory(host, ec))
                if (auto other = FindIgnoringCase(host, part)) next = std::move(*other);
            host = next;
        }
    };
    for (const Text& part : parts) step(part);
    return host;
}

bool Files::Seen(const fs::path& host, struct stat& info, Look look) {
    if (look == Look::Unsure && !host.empty()) look = ::stat(host.c_str(), &info) == 0 ? Look::Found : Look::Absent;
    return look == Look::Found;
}

void Files::FailOn(FileOp op, int nth, std::uint32_t code) { faults_.push_back({op, nth, code}); }

void Files::Before(FileOp op, std::function<void(const Text&)> hook) { hooks_[static_cast<int>(op)] = std::move(hook); }

void Files::Protect(const Text& windowsPath) { protected_.push_back(HostPath(windowsPath)); }

void Files::Lock(const Text& windowsPath) { locked_.push_back(HostPath(windowsPath)); }

std::uint32_t Files::Refusal(const fs::path& host, Use use) const {
    const auto listed = [&](const std::vector<fs::path>& paths) {
        return std::find(paths.begin(), paths.end(), host) != paths.end();
    };
    if (listed(locked_)) return errc::kSharingViolation;
    return use == Use::Change && listed(protected_) ? errc::kAccessDenied : 0;
}

std::uint32_t Files::Enter(FileOp op, const Text& path) {
    ++calls_[static_cast<int>(op)];
    if (!Held(path)) notHeld.push_back(path);
    if (const auto hook = hooks_.find(static_cast<int>(op)); hook != hooks_.end() && hook->second) hook->second(path);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->op != op) continue;
        if (--it->nth > 0) continue;
        const std::uint32_t code = it->code;
        faults_.erase(it);
        return code;
    }
    return PathLimit(op, path);
}

IoStatus Files::Open(const Text& path, OpenMode mode, FileHandle& handle) {
    if (const auto code = Enter(FileOp::Open, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {Unreachable(path)};
    if (const auto refused = Refusal(host, mode == OpenMode::Write ? Use::Change : Use::Read)) return {refused};
    const int flags = (mode == OpenMode::Read ? O_RDONLY : O_WRONLY) | O_CREAT;
    UniqueFd fd(::open(host.c_str(), flags, 0644));
    if (!fd) return {OpenError(host, errno)};
    handle = nextHandle_++;
    handles_[handle] = std::move(fd);
    return {};
}

IoStatus Files::Length(FileHandle handle, std::int64_t& length) {
    if (const auto code = Enter(FileOp::Length, {})) return {code};
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return {errc::kInvalidHandle};
    struct stat st {};
    if (::fstat(it->second.get(), &st) != 0) return {FromErrno(errno)};
    length = st.st_size;
    return {};
}

IoStatus Files::Read(FileHandle handle, char* data, std::size_t size, std::size_t& got) {
    if (const auto code = Enter(FileOp::Read, {})) return {code};
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return {errc::kInvalidHandle};
    got = 0;
    while (got < size) {
        const auto n = ::pread(it->second.get(), data + got, size - got, static_cast<off_t>(got));
        if (n < 0) return {FromErrno(errno)};
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return {};
}

IoStatus Files::Write(FileHandle handle, std::string_view data) {
    if (const auto code = Enter(FileOp::Write, {})) return {code};
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return {errc::kInvalidHandle};
    std::size_t done = 0;
    while (done < data.size()) {
        const auto n = ::pwrite(it->second.get(), data.data() + done, data.size() - done, static_cast<off_t>(done));
        if (n < 0) return {FromErrno(errno)};
        done += static_cast<std::size_t>(n);
    }
    return {};
}

IoStatus Files::Close(FileHandle handle) {
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return {errc::kInvalidHandle};
    handles_.erase(it);
    if (const auto code = Enter(FileOp::Close, {})) return {code};
    return {};
}

IoStatus Files::Delete(const Text& path) {
    if (const auto code = Enter(FileOp::Delete, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {Unreachable(path)};
    if (const auto refused = Refusal(host, Use::Change)) return {refused};
    std::error_code ec;
    if (!fs::is_regular_file(host, ec))
        return {fs::exists(host.parent_path(), ec) ? errc::kFileNotFound : errc::kPathNotFound};
    if (::unlink(host.c_str()) != 0) return {FromErrno(errno)};
    return {};
}

IoStatus Files::FileLength(const Text& path, std::int64_t& length) {
    if (const auto code = Enter(FileOp::FileLength, path)) return {code};
    struct stat st {};
    Look look = Look::Unsure;
    const fs::path host = Resolve(path, st, look);
    if (host.empty()) return {Unreachable(path)};
    if (look == Look::Absent) return {errc::kFileNotFound};
    if (look == Look::Unsure && ::stat(host.c_str(), &st) != 0) return {OpenError(host, errno)};
    if (!S_ISREG(st.st_mode)) return {errc::kAccessDenied};
    length = st.st_size;
    return {};
}

IoStatus Files::ReplaceContent(const Text& path, std::string_view content) {
    if (const auto code = Enter(FileOp::Replace, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {Unreachable(path)};
    if (const auto refused = Refusal(host, Use::Change)) return {refused};
    const fs::path temp = host.string() + ".varnex-new";
    UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
    if (!fd) return {OpenError(temp, errno)};
    std::size_t done = 0;
    while (done < content.size()) {
        const auto n = ::write(fd.get(), content.data() + done, content.size() - done);
        if (n < 0) {
            const auto code = FromErrno(errno);
            fd.Reset();
            ::unlink(temp.c_str());
            return {code};
        }
        done += static_cast<std::size_t>(n);
    }
    ::fsync(fd.get());
    fd.Reset();
    if (::rename(temp.c_str(), host.c_str()) != 0) {
        const auto code = FromErrno(errno);
        ::unlink(temp.c_str());
        return {code};
    }
    return {};
}

bool Files::FolderExists(const Text& path) {
    if (!Held(path)) notHeld.push_back(path);
    if (path.size() >= kMaxPath) return false;
    struct stat st {};
    Look look = Look::Unsure;
    const fs::path host = Resolve(path, st, look);
    return Seen(host, st, look) && S_ISDIR(st.st_mode);
}

IoStatus Files::CreateFolder(const Text& path) {
    if (const auto code = Enter(FileOp::CreateFolder, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {Unreachable(path)};
    if (::mkdir(host.c_str(), 0755) != 0) return {OpenError(host, errno)};
    return {};
}

IoStatus Files::ListFolder(const Text& folder, const Text& filePattern, std::vector<DirEntry>& entries) {
    if (const auto code = Enter(FileOp::ListFolder, folder)) return {code};
    const fs::path host = HostPath(folder);
    if (host.empty()) return {Unreachable(folder)};
    const UniqueDir dir(::opendir(host.c_str()));
    if (!dir) return {errc::kPathNotFound};
    // Each entry measured relative to the open folder, as Windows' folder
    // reads hand out every file's size without looking its path up again.
    auto look = [&](DirEntry& e) {
        struct stat info {};
        if (::fstatat(::dirfd(dir.get()), e.name.c_str(), &info, 0) != 0) return false;
        e.folder = S_ISDIR(info.st_mode);
        e.size = e.folder ? 0 : static_cast<std::int64_t>(info.st_size);
        return true;
    };
    auto take = [&](const DirEntry& e) {
        if (e.folder || MatchesPattern(e.name, filePattern)) entries.push_back(e);
    };
    if (index_.List(host, look, take)) return {};
    const int watch = index_.Watch(host);
    std::vector<FolderIndex::Slot> read;
    while (const dirent* found = ::readdir(dir.get())) {
        FolderIndex::Slot slot{.entry = {.name = found->d_name}};
        if (slot.entry.name == "." || slot.entry.name == "..") continue;
        if ((slot.known = look(slot.entry))) take(slot.entry);
        read.push_back(std::move(slot));
    }
    if (read.size() >= FolderIndex::kFrom)
        index_.Keep(watch, std::move(read));
    else
        index_.Forget(watch);
    return {};
}

bool Files::InUse(const Text& path) {
    // Only a file a test locked is held: with none, nothing need be looked up.
    if (locked_.empty()) return false;
    struct stat st {};
    Look look = Look::Unsure;
    const fs::path host = Resolve(path, st, look);
    return Seen(host, st, look) && S_ISREG(st.st_mode) && Refusal(host, Use::Read) == errc::kSharingViolation;
}

}  // namespace varnex::platform::emulated
