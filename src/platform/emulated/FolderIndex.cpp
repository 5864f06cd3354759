#include "platform/emulated/FolderIndex.hpp"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>

namespace varnex::platform::emulated {

namespace fs = std::filesystem;

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

FolderIndex::~FolderIndex() {
    if (notify_ >= 0) ::close(notify_);
}

bool FolderIndex::Find(const fs::path& folder, const Text& upperName, Text& found) {
    CatchUp();
    const auto index = indexes_.find(folder);
    if (index == indexes_.end()) return false;
    const auto hit = index->second.find(upperName);
    found = hit == index->second.end() ? Text() : hit->second;
    return true;
}

void FolderIndex::Add(const fs::path& folder) {
    if (notify_ < 0) notify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify_ < 0) return;
    // Watched before it is read, so no change can fall between the two.
    const int watch = ::inotify_add_watch(
        notify_, folder.c_str(),
        IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    if (watch < 0 || watched_.count(watch)) return;
    watched_[watch] = folder;
    auto& index = indexes_[folder];
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) AddName(index, entry.path().filename().string());
}

void FolderIndex::Drop() {
    for (const auto& [watch, folder] : watched_) ::inotify_rm_watch(notify_, watch);
    watched_.clear();
    indexes_.clear();
}

void FolderIndex::CatchUp() {
    if (notify_ < 0) return;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(notify_, buffer, sizeof buffer);
        if (got <= 0) return;  // every notice read
        for (ssize_t at = 0; at < got;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + notice->len);
            if (notice->mask & IN_Q_OVERFLOW) {
                Drop();  // notices were lost: read the folders anew when next needed
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
            if (notice->mask & (IN_CREATE | IN_MOVED_TO))
                AddName(byUpper, name);
            else if (notice->mask & (IN_DELETE | IN_MOVED_FROM))
                RemoveName(byUpper, name);
        }
    }
}

}  // namespace varnex::platform::emulated
