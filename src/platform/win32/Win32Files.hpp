// Byte files and folders through the Windows API's single-byte (A)
// functions, so every path is taken byte for byte in the system's code page.
// The handles the program opens stay owned here until it closes them; a
// handle it never opened, or closed already, is refused.
#pragma once

#include <map>

#include "platform/Platform.hpp"
#include "platform/win32/OwnedHandles.hpp"

namespace varnex::platform::win32 {

class Win32Files final : public FileApi {
public:
    IoStatus Open(const Text& path, OpenMode mode, FileHandle& handle) override;
    IoStatus Length(FileHandle handle, std::int64_t& length) override;
    IoStatus Read(FileHandle handle, char* data, std::size_t size, std::size_t& got) override;
    IoStatus Write(FileHandle handle, std::string_view data) override;
    IoStatus Close(FileHandle handle) override;
    IoStatus Delete(const Text& path) override;
    IoStatus FileLength(const Text& path, std::int64_t& length) override;
    IoStatus ReplaceContent(const Text& path, std::string_view content) override;
    [[nodiscard]] bool FolderExists(const Text& path) override;
    IoStatus CreateFolder(const Text& path) override;
    IoStatus ListFolder(const Text& folder, const Text& filePattern, std::vector<DirEntry>& entries) override;
    // The file cannot be opened for deleting, which a rename needs too,
    // because another program holds it open without sharing that.
    [[nodiscard]] bool InUse(const Text& path) override;
    // The lead bytes Windows reports for the system's code page.
    [[nodiscard]] CodePageLetters Letters() const override;

private:
    // The open handle behind `handle`, or null.
    [[nodiscard]] void* Find(FileHandle handle) const;

    std::map<FileHandle, UniqueHandle> open_;
};

}  // namespace varnex::platform::win32
