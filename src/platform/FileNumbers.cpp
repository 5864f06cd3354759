#include "platform/FileNumbers.hpp"

namespace varnex {

FileNumbers::~FileNumbers() {
    for (auto& slot : slots_)
        if (slot.open) (void)files_.Close(slot.handle);
}

std::int16_t FileNumbers::FreeFile() const {
    for (std::int16_t n = 1; n <= kLast; ++n)
        if (!slots_[static_cast<std::size_t>(n)].open) return n;
    return 0;
}

FileNumbers::Slot* FileNumbers::Find(std::int16_t number) {
    if (number < 1 || number > kLast) return nullptr;
    return &slots_[static_cast<std::size_t>(number)];
}

IoStatus FileNumbers::Open(std::int16_t number, const Text& path, OpenMode mode) {
    Slot* slot = Find(number);
    if (!slot) return {errc::kTooManyOpenFiles};
    if (slot->open) return {errc::kSharingViolation};
    FileHandle handle = 0;
    const IoStatus status = files_.Open(path, mode, handle);
    if (status.ok()) *slot = {.open = true, .handle = handle};
    return status;
}

IoStatus FileNumbers::Length(std::int16_t number, std::int64_t& length) {
    Slot* slot = Find(number);
    if (!slot || !slot->open) return {errc::kInvalidHandle};
    return files_.Length(slot->handle, length);
}

IoStatus FileNumbers::Get(std::int16_t number, Text& text) {
    Slot* slot = Find(number);
    if (!slot || !slot->open) return {errc::kInvalidHandle};
    std::size_t got = 0;
    const IoStatus status = files_.Read(slot->handle, text.data(), text.size(), got);
    if (status.ok() && got != text.size()) return {errc::kLockViolation};
    return status;
}

IoStatus FileNumbers::Close(std::int16_t number) {
    Slot* slot = Find(number);
    if (!slot || !slot->open) return {errc::kInvalidHandle};
    slot->open = false;
    return files_.Close(slot->handle);
}

IoStatus FileNumbers::ReadWhole(std::int16_t number, const Text& path, Text& text) {
    text.clear();
    IoStatus status = Open(number, path, OpenMode::Read);
    if (!status.ok()) return status;
    std::int64_t length = 0;
    status = Length(number, length);
    if (status.ok()) {
        text.assign(static_cast<std::size_t>(length), ' ');
        status = Get(number, text);
    }
    const IoStatus closed = Close(number);
    if (status.ok()) status = closed;
    if (!status.ok()) text.clear();
    return status;
}

}  // namespace varnex
