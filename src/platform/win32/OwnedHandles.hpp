// Owners of the Windows handles the platform services keep, declared without
// a Windows header so that the services' headers stay free of one. Each
// closes its handle when it goes; a caller that wants the result of the
// close releases the handle and closes it itself.
#pragma once

#include <memory>

namespace varnex::platform::win32 {

struct CloseKernelHandle {
    void operator()(void* handle) const noexcept;
};
using UniqueHandle = std::unique_ptr<void, CloseKernelHandle>;

struct CloseFind {
    void operator()(void* find) const noexcept;
};
using UniqueFind = std::unique_ptr<void, CloseFind>;

struct CloseRegistryKey {
    void operator()(void* key) const noexcept;
};
using UniqueKey = std::unique_ptr<void, CloseRegistryKey>;

// Take a handle as CreateFileA and FindFirstFileA return it: their failure
// value is INVALID_HANDLE_VALUE, not null, and is never owned (the owner is
// then empty).
[[nodiscard]] UniqueHandle OwnedFile(void* handle);
[[nodiscard]] UniqueFind OwnedFind(void* find);

}  // namespace varnex::platform::win32
