#include "platform/emulated/Emulated.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace varnex::emulated {

namespace fs = std::filesystem;

namespace {

std::uint32_t FromErrno(int e) {
    switch (e) {
        case ENOENT: return errc::kFileNotFound;
        case ENOTDIR: return errc::kPathNotFound;
        case EACCES:
        case EPERM:
        case EISDIR: return errc::kAccessDenied;
        case EROFS: return errc::kWriteProtect;
        case EEXIST: return errc::kAlreadyExists;
        case ENOSPC: return errc::kDiskFull;
        case ENAMETOOLONG: return errc::kFilenameTooLong;
        case EMFILE:
        case ENFILE: return errc::kTooManyOpenFiles;
        default: return errc::kGeneric;
    }
}

// A file's parent missing gives "path not found", as Windows says.
std::uint32_t OpenError(const fs::path& host, int e) {
    if (e == ENOENT && !fs::is_directory(host.parent_path())) return errc::kPathNotFound;
    return FromErrno(e);
}

}  // namespace

// ---------------------------------------------------------------- Registry

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
    SetRaw(keyPath, valueName, 1, withNul ? text + '\0' : text);
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
    if (root != 0x80000002u) return 2;
    KeyData* key = Find(subKey, (sam & 0x0200u) == 0);
    if (!key) return 2;
    if (key->readOnly && (sam & 0x0002u)) return 5;
    result = next_++;
    open_[result] = key;
    return 0;
}

std::int32_t Registry::RegQueryValueExA(Key key, const Text& valueName, std::uint32_t* type, std::uint8_t* data,
                                        std::uint32_t* size) {
    const auto it = open_.find(key);
    if (it == open_.end()) return 6;
    const auto value = it->second->values.find(UpperAscii(valueName));
    if (value == it->second->values.end()) return 2;
    const auto& stored = value->second;
    if (type) *type = stored.type;
    const auto needed = static_cast<std::uint32_t>(stored.data.size());
    if (!size) return data ? 87 : 0;
    if (data) {
        if (*size < needed) {
            *size = needed;
            return 234;
        }
        std::memcpy(data, stored.data.data(), needed);
    }
    *size = needed;
    return 0;
}

std::int32_t Registry::RegSetValueExA(Key key, const Text& valueName, std::uint32_t type, const std::uint8_t* data,
                                      std::uint32_t size) {
    const auto it = open_.find(key);
    if (it == open_.end()) return 6;
    it->second->values[UpperAscii(valueName)] = {type, std::string(reinterpret_cast<const char*>(data), size)};
    return 0;
}

std::int32_t Registry::RegCloseKey(Key key) { return open_.erase(key) ? 0 : 6; }

// ------------------------------------------------------------------- Files

Files::Files(std::map<char, fs::path> drives) {
    for (auto& [letter, host] : drives) drives_[UpperAscii(letter)] = host;
}

Files::~Files() {
    for (auto& [handle, fd] : handles_) ::close(fd);
    if (notify_ >= 0) ::close(notify_);
}

std::optional<fs::path> Files::FindIgnoringCase(const fs::path& folder, const Text& name) const {
    const Text wanted = UpperAscii(name);
    CatchUp();
    if (const auto index = indexes_.find(folder); index != indexes_.end()) {
        const auto hit = index->second.find(wanted);
        if (hit == index->second.end()) return std::nullopt;
        return folder / hit->second;
    }
    std::error_code ec;
    std::size_t scanned = 0;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (UpperAscii(entry.path().filename().string()) == wanted) return entry.path();
        ++scanned;
    }
    if (scanned >= kIndexFrom) Index(folder);
    return std::nullopt;
}

namespace {

void AddName(std::unordered_multimap<Text, Text>& byUpper, const Text& name) {
    const Text key = UpperAscii(name);
    const auto [first, last] = byUpper.equal_range(key);
    if (std::none_of(first, last, [&](const auto& e) { return e.second == name; })) byUpper.emplace(key, name);
}

void RemoveName(std::unordered_multimap<Text, Text>& byUpper, const Text& name) {
    const auto [first, last] = byUpper.equal_range(UpperAscii(name));
    for (auto it = first; it != last; ++it)
        if (it->second == name) {
            byUpper.erase(it);
            return;
        }
}

}  // namespace

void Files::Index(const fs::path& folder) const {
    if (notify_ < 0) notify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify_ < 0) return;
    // Watched before it is read, so no change can fall between the two.
    const int watch = ::inotify_add_watch(
        notify_, folder.c_str(),
        IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    if (watch < 0 || watched_.count(watch)) return;
    watched_[watch] = folder;
    FolderIndex& index = indexes_[folder];
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) AddName(index, entry.path().filename().string());
}

void Files::DropIndexes() const {
    for (const auto& [watch, folder] : watched_) ::inotify_rm_watch(notify_, watch);
    watched_.clear();
    indexes_.clear();
}

void Files::CatchUp() const {
    if (notify_ < 0) return;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(notify_, buffer, sizeof buffer);
        if (got <= 0) return;  // every notice read
        for (ssize_t at = 0; at < got;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + notice->len);
            if (notice->mask & IN_Q_OVERFLOW) {
                DropIndexes();  // notices were lost: read the folders anew when next needed
                continue;
            }
            const auto folder = watched_.find(notice->wd);
            if (folder == watched_.end()) continue;
            if (notice->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                if (!(notice->mask & IN_IGNORED)) ::inotify_rm_watch(notify_, notice->wd);
                indexes_.erase(folder->second);
                watched_.erase(folder);
                continue;
            }
            if (notice->len == 0) continue;
            auto& byUpper = indexes_[folder->second];
            const Text name = notice->name;
            if (notice->mask & (IN_CREATE | IN_MOVED_TO)) AddName(byUpper, name);
            else if (notice->mask & (IN_DELETE | IN_MOVED_FROM)) RemoveName(byUpper, name);
        }
    }
}

fs::path Files::HostPath(const Text& windowsPath) const {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return {};
    const auto drive = drives_.find(UpperAscii(windowsPath[0]));
    if (drive == drives_.end()) return {};
    fs::path host = drive->second;
    Text part;
    auto step = [&] {
        if (part.empty() || part == ".") return;
        if (part == "..") {
            host = host.parent_path();
        } else {
            fs::path next = host / part;
            std::error_code ec;
            if (!fs::exists(next, ec) && fs::is_directory(host, ec))
                if (auto found = FindIgnoringCase(host, part)) next = std::move(*found);
            host = next;
        }
        part.clear();
    };
    for (std::size_t i = 2; i < windowsPath.size(); ++i) {
        if (IsSeparator(windowsPath[i])) step();
        else part += windowsPath[i];
    }
    step();
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
    if (const auto hook = hooks_.find(static_cast<int>(op)); hook != hooks_.end() && hook->second)
        hook->second(path);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->op != op) continue;
        if (--it->nth > 0) continue;
        const std::uint32_t code = it->code;
        faults_.erase(it);
        return code;
    }
    return 0;
}

IoStatus Files::Open(const Text& path, OpenMode mode, FileHandle& handle) {
    if (const auto code = Enter(FileOp::Open, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {errc::kPathNotFound};
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
    if (host.empty()) return {errc::kPathNotFound};
    if (const auto refused = Refusal(host, true)) return {refused};
    std::error_code ec;
    if (!fs::is_regular_file(host, ec)) return {fs::exists(host.parent_path(), ec) ? errc::kFileNotFound : errc::kPathNotFound};
    if (::unlink(host.c_str()) != 0) return {FromErrno(errno)};
    return {};
}

IoStatus Files::FileLength(const Text& path, std::int64_t& length) {
    if (const auto code = Enter(FileOp::FileLength, path)) return {code};
    const fs::path host = HostPath(path);
    struct stat st {};
    if (host.empty()) return {errc::kPathNotFound};
    if (::stat(host.c_str(), &st) != 0) return {OpenError(host, errno)};
    if (!S_ISREG(st.st_mode)) return {errc::kAccessDenied};
    length = st.st_size;
    return {};
}

IoStatus Files::ReplaceContent(const Text& path, std::string_view content) {
    if (const auto code = Enter(FileOp::Replace, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {errc::kPathNotFound};
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
    const fs::path host = HostPath(path);
    std::error_code ec;
    return !host.empty() && fs::is_directory(host, ec);
}

IoStatus Files::CreateFolder(const Text& path) {
    if (const auto code = Enter(FileOp::CreateFolder, path)) return {code};
    const fs::path host = HostPath(path);
    if (host.empty()) return {errc::kPathNotFound};
    if (::mkdir(host.c_str(), 0755) != 0) return {OpenError(host, errno)};
    return {};
}

IoStatus Files::ListFolder(const Text& folder, const Text& filePattern, std::vector<DirEntry>& entries) {
    if (const auto code = Enter(FileOp::ListFolder, folder)) return {code};
    const fs::path host = HostPath(folder);
    DIR* dir = host.empty() ? nullptr : ::opendir(host.c_str());
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

// ------------------------------------------------------------------- Shell

int Shell::SHFileOperationA(const ShellFileOp& op) {
    auto single = [](const Text& list) { return Text(list.c_str()); };
    const Text from = single(op.pFrom);
    const Text to = single(op.pTo);
    const fs::path source = files_.HostPath(from);
    std::error_code ec;
    // What stands in the way of the operation, in the order the shell meets
    // it: an injected failure, a missing source, and for a rename a name
    // already taken; then the player's answer; then a lock or protection.
    const auto obstacle = [&]() -> int {
        if (const auto code = files_.Enter(op.wFunc == 4 ? FileOp::Rename : FileOp::Recycle, from))
            return static_cast<int>(code);
        if (source.empty() || !fs::exists(source, ec)) return 0x402;
        if (op.wFunc == 4) {
            const fs::path target = files_.HostPath(to);
            if (fs::exists(target, ec) && !fs::equivalent(source, target, ec)) return 183;
        } else if (!confirmDelete) {
            return 0x4C7;  // the player said No
        }
        return static_cast<int>(files_.Refusal(source, true));
    };
    int result = 0;
    if (op.wFunc == 4 || op.wFunc == 3) result = obstacle();
    if (result == 0 && op.wFunc == 4) {
        // Keep the spelling asked for, also when only letter case changes.
        const fs::path wanted = source.parent_path() / fs::path(to.substr(to.find_last_of("\\/") + 1));
        fs::rename(source, wanted, ec);
        result = ec ? 5 : 0;
    } else if (result == 0 && op.wFunc == 3) {
        if (!recycleBin.empty()) {
            fs::create_directories(recycleBin, ec);
            fs::rename(source, recycleBin / source.filename(), ec);
        } else {
            fs::remove(source, ec);
        }
        result = ec ? 5 : 0;
        if (!ec) recycled.push_back(from);
    }
    calls.push_back({op.wFunc, op.pFrom, op.pTo, op.fFlags, result});
    return result;
}

// ----------------------------------------------------------------- Desktop

int Desktop::MessageBox(const Text& text, const Text& caption, std::uint32_t style) {
    boxes.push_back({text, caption, style});
    if (onBox) onBox(boxes.back());
    if (boxAnswers.empty()) return kIdOk;
    const int answer = boxAnswers.front();
    boxAnswers.pop_front();
    return answer;
}

Text Desktop::ShowOpenDialog(const FileDialogSetup& setup) {
    dialogs.push_back(setup);
    dialogWasSave.push_back(false);
    if (dialogAnswers.empty()) return {};
    Text answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

Text Desktop::ShowSaveDialog(const FileDialogSetup& setup) {
    dialogs.push_back(setup);
    dialogWasSave.push_back(true);
    if (dialogAnswers.empty()) return {};
    Text answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
}

}  // namespace varnex::emulated
