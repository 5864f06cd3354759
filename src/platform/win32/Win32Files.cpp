#include "platform/win32/Win32Files.hpp"

// After the program's headers: <windows.h> turns names such as MessageBox
// into macros, which must not rename the program's own declarations.
#include <windows.h>

#include <algorithm>

#include "platform/win32/CodePage.hpp"

namespace varnex::platform::win32 {

namespace {

// The reason for the failure just seen. A failing call that left no code
// still must not read as success.
IoStatus LastError() {
    const DWORD code = ::GetLastError();
    return {code == ERROR_SUCCESS ? errc::kGeneric : static_cast<std::uint32_t>(code)};
}

// The reason for the failure just seen on `path`. Windows calls a drive
// letter it does not have a missing folder; the player, who sees the drive
// in Explorer, is told that the program, run as administrator, does not.
IoStatus FailureOn(const Text& path) {
    const IoStatus failure = LastError();
    const bool missing = failure.code == ERROR_PATH_NOT_FOUND || failure.code == ERROR_FILE_NOT_FOUND ||
                         failure.code == ERROR_INVALID_DRIVE;
    if (!missing || path.size() < 2 || path[1] != ':' || UpperAscii(path[0]) < 'A' || UpperAscii(path[0]) > 'Z')
        return failure;
    const char root[] = {path[0], ':', '\\', '\0'};
    return ::GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR ? IoStatus{errc::kDriveNotFound} : failure;
}

// Antivirus, indexing and sync tools open a file they just saw change and
// hold it for a moment: an open, or the swap of a new content, that meets
// such a hold is tried again a few times before the failure is told.
constexpr int kRetries = 5;
constexpr DWORD kRetryPauseMs = 100;

bool HeldForAMoment(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION || code == ERROR_ACCESS_DENIED ||
           code == ERROR_UNABLE_TO_REMOVE_REPLACED;
}

// Runs `attempt` until it succeeds, or fails for another reason than a
// brief hold, or the retries are spent; the last error stays the attempt's.
template <class Attempt>
bool Retried(const Attempt& attempt) {
    for (int retry = 0;; ++retry) {
        if (attempt()) return true;
        if (retry == kRetries || !HeldForAMoment(::GetLastError())) return false;
        ::Sleep(kRetryPauseMs);
    }
}

// Puts the file `from` in the place of `to`. An existing file is replaced
// by the system's replace, which keeps what the file carries beside its
// bytes (its access rights, creation time, short name); a missing one, or
// one the replace already removed, is given its name by a rename.
bool SwapIn(const Text& from, const Text& to) {
    if (::GetFileAttributesA(to.c_str()) != INVALID_FILE_ATTRIBUTES) {
        // Opened first as the replace opens it: Wine's replace leaves a
        // temporary file behind each time it meets a file another holds.
        constexpr DWORD kAnySharing = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        if (!OwnedFile(
                ::CreateFileA(to.c_str(), GENERIC_READ | DELETE, kAnySharing, nullptr, OPEN_EXISTING, 0, nullptr)))
            return false;
        if (::ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
            return true;
        const DWORD error = ::GetLastError();
        if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT && error != ERROR_FILE_NOT_FOUND) return false;
    }
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

// ReadFile and WriteFile move at most 4 GB less one byte per call.
constexpr std::size_t kChunk = std::size_t{1} << 30;

// Both transfers name their position, so they start at the first byte
// whatever an earlier transfer on the same handle left behind.
OVERLAPPED At(std::size_t offset) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(offset) >> 32);
    return at;
}

IoStatus WriteAll(HANDLE file, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const auto chunk = static_cast<DWORD>(std::min(data.size() - done, kChunk));
        OVERLAPPED at = At(done);
        DWORD written = 0;
        const bool ok = ::WriteFile(file, data.data() + done, chunk, &written, &at) != FALSE;
        if (!ok) return LastError();
        if (written == 0) return {errc::kDiskFull};
        done += written;
    }
    return {};
}

std::int64_t SizeOf(DWORD high, DWORD low) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

// Beside the file it replaces, so that the swap is a rename within one
// folder and one volume. A path that the added suffix would take past the
// single-byte calls' bound keeps its length instead, its last letter
// changed to another of one byte (never half a letter), and only where no
// file of that name exists: the file is truncated now and removed should
// the swap fail.
Text NewContentPath(const Text& path) {
    const Text beside = path + ".varnex-new";
    if (beside.size() < MAX_PATH || path.empty()) return beside;
    for (const char last : {'~', '#', '!'}) {
        Text same = path.substr(0, LastLetterStart(path));
        same += last;
        if (same != path && ::GetFileAttributesA(same.c_str()) == INVALID_FILE_ATTRIBUTES) return same;
    }
    return beside;
}

// The file that carries new content until it is swapped in: removed when
// the swap does not happen, so a failure leaves nothing behind.
class PendingFile {
public:
    explicit PendingFile(Text path) : path_(std::move(path)) {}
    ~PendingFile() {
        if (!path_.empty()) (void)::DeleteFileA(path_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    // Swapped in, or left as the only copy of the content: kept.
    void Keep() { path_.clear(); }

private:
    Text path_;
};

}  // namespace

void* Win32Files::Find(FileHandle handle) const {
    const auto open = open_.find(handle);
    return open == open_.end() ? nullptr : open->second.get();
}

IoStatus Win32Files::Open(const Text& path, OpenMode mode, FileHandle& handle) {
    if (!Held(path)) return {errc::kNameNotHeld};  // a "?" or "*" names no one file
    // OPEN_ALWAYS for both modes: a missing file is created empty and an
    // existing one is never shortened, as the classic binary open does.
    // Others may go on reading and writing it meanwhile, as on the emulated
    // platform, where nothing is locked.
    const DWORD access = mode == OpenMode::Read ? GENERIC_READ : GENERIC_WRITE;
    const DWORD sharing = FILE_SHARE_READ | FILE_SHARE_WRITE;
    const auto open = [&] {
        return OwnedFile(
            ::CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    };
    UniqueHandle file;
    // A read meets a file a scanner holds just after another program wrote
    // it (Exit reads the comments file again); a folder refuses every time.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (mode == OpenMode::Read && attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        (void)Retried([&] { return static_cast<bool>(file = open()); });
    else
        file = open();
    if (!file) return FailureOn(path);
    handle = reinterpret_cast<FileHandle>(file.get());
    open_[handle] = std::move(file);
    return {};
}

IoStatus Win32Files::Length(FileHandle handle, std::int64_t& length) {
    void* const file = Find(handle);
    if (!file) return {errc::kInvalidHandle};
    LARGE_INTEGER size{};
    const bool ok = ::GetFileSizeEx(file, &size) != FALSE;
    if (!ok) return LastError();
    length = size.QuadPart;
    return {};
}

IoStatus Win32Files::Read(FileHandle handle, char* data, std::size_t size, std::size_t& got) {
    void* const file = Find(handle);
    if (!file) return {errc::kInvalidHandle};
    got = 0;
    while (got < size) {
        const auto chunk = static_cast<DWORD>(std::min(size - got, kChunk));
        OVERLAPPED at = At(got);
        DWORD read = 0;
        const bool ok = ::ReadFile(file, data + got, chunk, &read, &at) != FALSE;
        if (!ok) {
            // A positioned read at or past the end says so with an error.
            if (::GetLastError() == ERROR_HANDLE_EOF) break;
            return LastError();
        }
        if (read == 0) break;
        got += read;
    }
    return {};
}

IoStatus Win32Files::Write(FileHandle handle, std::string_view data) {
    void* const file = Find(handle);
    if (!file) return {errc::kInvalidHandle};
    return WriteAll(file, data);
}

IoStatus Win32Files::Close(FileHandle handle) {
    const auto open = open_.find(handle);
    if (open == open_.end()) return {errc::kInvalidHandle};
    void* const file = open->second.release();
    open_.erase(open);
    const bool ok = ::CloseHandle(file) != FALSE;
    if (!ok) return LastError();
    return {};
}

IoStatus Win32Files::Delete(const Text& path) {
    if (!Held(path)) return {errc::kNameNotHeld};  // a "?" or "*" names no one file
    const bool ok = ::DeleteFileA(path.c_str()) != FALSE;
    if (!ok) return FailureOn(path);
    return {};
}

IoStatus Win32Files::FileLength(const Text& path, std::int64_t& length) {
    if (!Held(path)) return {errc::kNameNotHeld};  // a "?" or "*" names no one file
    WIN32_FILE_ATTRIBUTE_DATA found{};
    const bool ok = ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &found) != FALSE;
    if (!ok) return FailureOn(path);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return {errc::kAccessDenied};
    length = SizeOf(found.nFileSizeHigh, found.nFileSizeLow);
    return {};
}

IoStatus Win32Files::ReplaceContent(const Text& path, std::string_view content) {
    if (!Held(path)) return {errc::kNameNotHeld};  // a "?" or "*" names no one file
    // Windows refuses to replace a read-only file; Wine, at least when run by
    // root, replaces it. Asking first keeps the player's protection on both,
    // and nothing is written in vain.
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return {errc::kAccessDenied};

    const Text newPath = NewContentPath(path);
    // The new file carries the old one's attributes: a hidden or system
    // comments file stays so (Wine's replace and a rename keep those of the
    // new file).
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    const DWORD kept = existed && (attributes & kKept) ? attributes & kKept : FILE_ATTRIBUTE_NORMAL;
    UniqueHandle created =
        OwnedFile(::CreateFileA(newPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kept, nullptr));
    if (!created) return FailureOn(newPath);
    // Declared in this order so that on the way out the handle is closed
    // before the file it writes is removed.
    PendingFile pending(newPath);
    UniqueHandle file = std::move(created);
    const IoStatus written = WriteAll(file.get(), content);
    if (!written.ok()) return written;
    // On the disk before it replaces anything: a crash right after the swap
    // must not leave an empty file where the old content was.
    const bool flushed = ::FlushFileBuffers(file.get()) != FALSE;
    if (!flushed) return LastError();
    const bool closed = ::CloseHandle(file.release()) != FALSE;
    if (!closed) return LastError();
    // The old content stays until the new one takes its name.
    if (Retried([&] { return SwapIn(newPath, path); })) {
        pending.Keep();
        return {};
    }
    IoStatus failed = LastError();
    // The replace gave up after it had removed the old file: the new
    // content, beside it, is all there is, and stays.
    if (existed && ::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) pending.Keep();
    // The file it replaces could not be removed: another program holds it.
    if (failed.code == ERROR_UNABLE_TO_REMOVE_REPLACED) failed.code = errc::kSharingViolation;
    return failed;
}

bool Win32Files::FolderExists(const Text& path) {
    if (!Held(path)) return false;
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

IoStatus Win32Files::CreateFolder(const Text& path) {
    if (!Held(path)) return {errc::kNameNotHeld};  // a "?" or "*" names no one file
    const bool ok = ::CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    if (!ok) return FailureOn(path);
    return {};
}

IoStatus Win32Files::ListFolder(const Text& folder, const Text& filePattern, std::vector<DirEntry>& entries) {
    // An empty path would list the current folder; a path the code page
    // does not hold would list whatever its "?" matches.
    if (folder.empty()) return {errc::kPathNotFound};
    if (!Held(folder)) return {errc::kNameNotHeld};
    Text pattern = folder;
    if (!EndsInSeparator(pattern)) pattern += '\\';
    pattern += '*';
    // The wide calls, each name then put into the code page without best
    // fit: the single-byte ones would hand "Łódź" over as "Lódz" on a
    // Western system, the name of another file, where this gives "?ód?",
    // which the program knows it cannot hand back (see Held).
    WIN32_FIND_DATAW found{};
    const UniqueFind find = OwnedFind(::FindFirstFileW(Widen(pattern).c_str(), &found));
    if (!find) {
        // Only a drive's root has no "." entry, so only an empty root
        // finds nothing at all.
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) return {};
        return FailureOn(folder);
    }
    bool more = true;
    while (more) {
        const Text name = Narrow(found.cFileName);
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        // The shell's own pattern matching also matches short 8.3 names, so
        // every name is matched here by the program's rule.
        if (name != "." && name != ".." && (folder || MatchesPattern(name, filePattern))) {
            DirEntry entry;
            entry.name = name;
            entry.folder = folder;
            if (!folder) entry.size = SizeOf(found.nFileSizeHigh, found.nFileSizeLow);
            entries.push_back(std::move(entry));
        }
        more = ::FindNextFileW(find.get(), &found) != FALSE;
    }
    if (::GetLastError() != ERROR_NO_MORE_FILES) return LastError();
    return {};
}

CodePageLetters Win32Files::Letters() const {
    if (::GetACP() == CP_UTF8) return CodePageLetters::Utf8();
    CPINFO info{};
    if (!::GetCPInfo(CP_ACP, &info) || info.MaxCharSize < 2) return {};
    // Pairs of first and last lead byte, ended by a pair of zeros.
    std::vector<std::pair<unsigned, unsigned>> ranges;
    for (int i = 0; i + 1 < MAX_LEADBYTES && (info.LeadByte[i] != 0 || info.LeadByte[i + 1] != 0); i += 2)
        ranges.emplace_back(info.LeadByte[i], info.LeadByte[i + 1]);
    return CodePageLetters::DoubleByte(ranges);
}

bool Win32Files::InUse(const Text& path) {
    // Every kind of sharing offered: only another's handle that refuses
    // deleting (the game's open archive) stands in the way, and a file that
    // is not there says so by another error.
    UniqueHandle file =
        OwnedFile(::CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
    if (file) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace varnex::platform::win32
