#include "platform/emulated/Files.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace varnex::emulated {

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
constexpr std::size_t kMaxPath = 260, kLongestNewFolder = kMaxPath - 13;

std::uint32_t PathLimit(FileOp op, const Text& path) {
    if (op == FileOp::CreateFolder) return path.size() > kLongestNewFolder ? errc::kFilenameTooLong : 0;
    const std::size_t length = path.size() + (op == FileOp::ListFolder ? 2 : 0);
    const bool bound = op != FileOp::Rename && op != FileOp::Recycle;
    return bound && length >= kMaxPath ? errc::kFilenameTooLong : 0;
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

Files::~Files() {
    for (auto& [handle, fd] : handles_) ::close(fd);
}

std::optional<fs::path> Files::FindIgnoringCase(const fs::path& folder, const Text& name) const {
    const Text wanted = UpperAscii(name);
    if (Text found; index_.Find(folder, wanted, found)) {
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
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return {};
    const auto drive = drives_.find(UpperAscii(windowsPath[0]));
    if (drive == drives_.end()) return {};
    fs::path host = drive->second;
    auto step = [&](const Text& part) {
        if (part == ".") return;
        if (part == "..") {
            host = host.parent_path();
        } else {
            fs::path next = host / part;
            std::error_code ec;
            if (!fs::exists(next, ec) && fs::is_directory(host, ec))
                if (auto found = FindIgnoringCase(host, part)) next = std::move(*found);
            host = next;
        }
    };
    for (const Text& part : SplitAtSeparators(windowsPath, 2)) step(part);
    return host;
}

void Files::FailOn(FileOp op, int nth, std::uint32_t code) { faults_.push_back({op, nth, code}); }

void Files::Before(FileOp op, std::function<void(const Text&)> hook) { hooks_[static_cast<int>(op)] = std::move(hook); }

void Files::Protect(const Text& windowsPath) { protected_.push_back(HostPath(windowsPath)); }

void Files::Lock(const Text& windowsPath) { locked_.push_back(HostPath(windowsPath)); }

std::uint32_t Files::Refusal(const fs::path& host, bool changing) const {
    const auto listed = [&](const std::vector<fs::path>& paths) {
        return std::find(paths.begin(), paths.end(), host) != paths.end();
    };
    if (listed(locked_)) return errc::kSharingViolation;
    return changing && listed(protected_) ? errc::kAccessDenied : 0;
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
    if (const auto refused = Refusal(host, mode == OpenMode::Write)) return {refused};
    const int flags = (mode == OpenMode::Read ? O_RDONLY : O_WRONLY) | O_CREAT;
    const int fd = ::open(host.c_str(), flags, 0644);
    if (fd < 0) return {OpenError(host, errno)};
    handle = nextHandle_++;
    handles_[handle] = fd;
    return {};
}

IoStatus Files::Length(FileHandle handle, std::int64_t& length) {
    if (const auto code = Enter(FileOp::Length, {})) return {code};
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return {errc::kInvalidHandle};
    struct stat st {};
    if (::fstat(it->second, &st) != 0) return {FromErrno(errno)};
    length = st.st_size;
    return {};
}

IoStatus Files::Read(FileHandle handle, char* data, std::size_t size, std::size_t& got) {
    if (const auto code = Enter(FileOp::Read, {})) return {code};
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return {errc::kInvalidHandle};
    got = 0;
    while (got < size) {
        const auto n = ::pread(it->second, data + got, size - got, static_cast<off_t>(got));
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
        const auto n = ::pwrite(it->second, data.data() + done, data.size() - done, static_cast<off_t>(done));
        if (n < 0) return {FromErrno(errno)};
        done += static_cast<std::size_t>(n);
    }
    return {};
}

IoStatus Files::Close(FileHandle handle) {
    const auto it = handles_.find(handle);
    if (it == handles_.end()) return {errc::kInvalidHandle};
    ::close(it->second);
    handles_.erase(it);
    if (const auto code = Enter(FileOp::Close, {})) return {code};
    return {};
}

IoStatus Files::Delete(const Text& path) {
    if (const auto code = Enter(FileOp::Delete, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {Unreachable(path)};
    if (const auto refused = Refusal(host, true)) return {refused};
    std::error_code ec;
    if (!fs::is_regular_file(host, ec))
        return {fs::exists(host.parent_path(), ec) ? errc::kFileNotFound : errc::kPathNotFound};
    if (::unlink(host.c_str()) != 0) return {FromErrno(errno)};
    return {};
}

IoStatus Files::FileLength(const Text& path, std::int64_t& length) {
    if (const auto code = Enter(FileOp::FileLength, path)) return {code};
    const fs::path host = HostPath(path);
    struct stat st {};
    if (host.empty()) return {Unreachable(path)};
    if (::stat(host.c_str(), &st) != 0) return {OpenError(host, errno)};
    if (!S_ISREG(st.st_mode)) return {errc::kAccessDenied};
    length = st.st_size;
    return {};
}

IoStatus Files::ReplaceContent(const Text& path, std::string_view content) {
    if (const auto code = Enter(FileOp::Replace, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {Unreachable(path)};
    if (const auto refused = Refusal(host, true)) return {refused};
    const fs::path temp = host.string() + ".varnex-new";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return {OpenError(temp, errno)};
    std::size_t done = 0;
    while (done < content.size()) {
        const auto n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            const auto code = FromErrno(errno);
            ::close(fd);
            ::unlink(temp.c_str());
            return {code};
        }
        done += static_cast<std::size_t>(n);
    }
    ::fsync(fd);
    ::close(fd);
    if (::rename(temp.c_str(), host.c_str()) != 0) {
        const auto code = FromErrno(errno);
        ::unlink(temp.c_str());
        return {code};
    }
    return {};
}

bool Files::FolderExists(const Text& path) {
    if (!Held(path)) notHeld.push_back(path);
    const fs::path host = HostPath(path);
    std::error_code ec;
    return !host.empty() && path.size() < kMaxPath && fs::is_directory(host, ec);
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
    DIR* dir = ::opendir(host.c_str());
    if (!dir) return {errc::kPathNotFound};
    // Each entry measured relative to the open folder, as Windows' folder
    // reads hand out every file's size without looking its path up again.
    while (const dirent* found = ::readdir(dir)) {
        DirEntry e;
        e.name = found->d_name;
        struct stat info {};
        if (e.name == "." || e.name == ".." || ::fstatat(::dirfd(dir), found->d_name, &info, 0) != 0) continue;
        e.folder = S_ISDIR(info.st_mode);
        if (!e.folder && !MatchesPattern(e.name, filePattern)) continue;
        if (!e.folder) e.size = static_cast<std::int64_t>(info.st_size);
        entries.push_back(std::move(e));
    }
    ::closedir(dir);
    return {};
}

bool Files::InUse(const Text& path) {
    const fs::path host = HostPath(path);
    std::error_code ec;
    return !host.empty() && fs::is_regular_file(host, ec) && Refusal(host, false) == errc::kSharingViolation;
}

}  // namespace varnex::emulated
