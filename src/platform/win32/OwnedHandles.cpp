#include "platform/win32/OwnedHandles.hpp"

#include <windows.h>

namespace varnex::platform::win32 {

// A close that fails while an owner is dropped has nobody left to tell.
void CloseKernelHandle::operator()(void* handle) const noexcept { (void)::CloseHandle(handle); }

void CloseFind::operator()(void* find) const noexcept { (void)::FindClose(find); }

void CloseRegistryKey::operator()(void* key) const noexcept { (void)::RegCloseKey(static_cast<HKEY>(key)); }

UniqueHandle OwnedFile(void* handle) { return UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle); }

UniqueFind OwnedFind(void* find) { return UniqueFind(find == INVALID_HANDLE_VALUE ? nullptr : find); }

}  // namespace varnex::platform::win32
