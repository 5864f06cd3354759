#include "platform/emulated/FolderIndex.hpp"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>

namespace varnex::platform::emulated {

namespace fs = std::filesystem;

FolderIndex::~FolderIndex() {
    if (notify_ >= 0) ::close(notify_);
}

bool FolderIndex::Find(const fs::path& folder, const Text& name, Text& found) {
    CatchUp();
    const auto index = indexes_.find(folder);
    if (index == indexes_.end()) return false;
    const auto [first, last] = index->second.equal_range(UpperAscii(name));
    const auto same = std::find_if(first, last, [&](const auto& e) { return e.second.entry.name == name; });
    found = same != last ? same->second.entry.name : first != last ? first->second.entry.name : Text();
    return true;
}

bool FolderIndex::List(const fs::path& folder, const std::function<bool(DirEntry& entry)>& look,
                       const std::function<void(const DirEntry&)>& take) {
    CatchUp();
    const auto index = indexes_.find(folder);
    if (index == indexes_.end()) return false;
    for (auto& [upper, slot] : index->second) {
        if (!slot.known && !(slot.known = look(slot.entry))) continue;
        take(slot.entry);
    }
    return true;
}

int FolderIndex::Watch(const fs::path& folder) {
    if (notify_ < 0) notify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notify_ < 0) return -1;
    const int watch = ::inotify_add_watch(notify_, folder.c_str(),
                                          IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_MODIFY | IN_ATTRIB |
                                              IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR);
    if (watch < 0 || watched_.count(watch)) return -1;
    watched_[watch] = folder;
    return watch;
}

void FolderIndex::Keep(int watch, std::vector<Slot> slots) {
    const auto folder = watched_.find(watch);
    if (folder == watched_.end()) return;
    Slots& index = indexes_[folder->second];
    index.reserve(slots.size());
    for (Slot& slot : slots) {
        Text upper = UpperAscii(slot.entry.name);
        index.emplace(std::move(upper), std::move(slot));
    }
}

void FolderIndex::Forget(int watch) {
    if (watched_.erase(watch) != 0) ::inotify_rm_watch(notify_, watch);
}

void FolderIndex::Add(const fs::path& folder) {
    const int watch = Watch(folder);
    if (watch < 0) return;
    std::vector<Slot> slots;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        slots.push_back({.entry = {.name = entry.path().filename().string()}});
    Keep(watch, std::move(slots));
}

void FolderIndex::Drop() {
    for (const auto& [watch, folder] : watched_) ::inotify_rm_watch(notify_, watch);
    watched_.clear();
    indexes_.clear();
}

void FolderIndex::Apply(Slots& slots, std::uint32_t mask, std::uint32_t cookie, const Text& name) {
    const Text upper = UpperAscii(name);
    const auto [first, last] = slots.equal_range(upper);
    auto slot = std::find_if(first, last, [&](const auto& e) { return e.second.entry.name == name; });
    // Whatever happened to the entry, what was known of it is past.
    std::optional<DirEntry> before;
    if (slot != last) {
        if (slot->second.known) before = slot->second.entry;
        slot->second.known = false;
    }
    if (mask & (IN_CREATE | IN_MOVED_TO)) {
        if (slot == last) slot = slots.emplace(upper, Slot{.entry = {.name = name}});
        if ((mask & IN_MOVED_TO) && moved_ && moved_->cookie == cookie) {
            slot->second = {.entry = std::move(moved_->entry), .known = true};
            slot->second.entry.name = name;
            moved_.reset();
        }
    } else if (mask & (IN_DELETE | IN_MOVED_FROM)) {
        if (slot != last) slots.erase(slot);
        if ((mask & IN_MOVED_FROM) && before) moved_ = Moved{cookie, std::move(*before)};
    }
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
            if (notice->len == 0) {
                // The folder's own permissions changed: whether its entries
                // can still be reached is the disk's to say again.
                if (notice->mask & IN_ATTRIB) {
                    indexes_.erase(folder->second);
                    Forget(notice->wd);
                }
                continue;
            }
            const auto index = indexes_.find(folder->second);
            if (index != indexes_.end()) Apply(index->second, notice->mask, notice->cookie, notice->name);
        }
    }
}

}  // namespace varnex::platform::emulated
