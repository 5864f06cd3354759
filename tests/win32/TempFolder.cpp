#include "TempFolder.hpp"

#include "platform/win32/OwnedHandles.hpp"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace varnex::testing {

namespace {

using winapi::OwnedFile;
using winapi::OwnedFind;

// Calls `visit` for every entry of `folder` but "." and "..".
void ForEach(const Text& folder, const std::function<void(const WIN32_FIND_DATAA&)>& visit) {
    WIN32_FIND_DATAA found{};
    const auto find = OwnedFind(::FindFirstFileA((folder + "\\*").c_str(), &found));
    if (!find) return;
    do {
        const Text name = found.cFileName;
        if (name != "." && name != "..") visit(found);
    } while (::FindNextFileA(find.get(), &found));
}

// Removes a folder and everything under it, read-only files included.
void RemoveTree(const Text& folder) {
    ForEach(folder, [&](const WIN32_FIND_DATAA& found) {
        const Text path = folder + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(path);
        } else {
            (void)::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            (void)::DeleteFileA(path.c_str());
        }
    });
    (void)::RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder() {
    static int count = 0;
    char base[MAX_PATH + 1] = {};
    if (::GetTempPathA(sizeof base, base) == 0) throw std::runtime_error("no temporary folder");
    path_ = Text(base) + "varnex-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++count);
    RemoveTree(path_);
    if (!::CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot create " + path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void TempFolder::Write(const Text& name, std::string_view bytes) const {
    const auto file = OwnedFile(
        ::CreateFileA(At(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        throw std::runtime_error("cannot write " + name);
}

std::string TempFolder::Read(const Text& name) const {
    const auto file = OwnedFile(::CreateFileA(At(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    return bytes;
}

std::vector<Text> TempFolder::Names() const {
    std::vector<Text> names;
    ForEach(path_, [&](const WIN32_FIND_DATAA& found) { names.emplace_back(found.cFileName); });
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace varnex::testing
