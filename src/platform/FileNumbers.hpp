// Classic file numbers over the byte-file service: a free number is taken,
// a file opened under it, measured, read whole, and closed.
#pragma once

#include <array>
#include <cstdint>

#include "platform/Platform.hpp"

namespace varnex {

class FileNumbers {
public:
    static constexpr std::int16_t kLast = 511;

    explicit FileNumbers(FileApi& files) : files_(files) {}
    ~FileNumbers();
    FileNumbers(const FileNumbers&) = delete;
    FileNumbers& operator=(const FileNumbers&) = delete;

    // The lowest number not in use, 0 when all are taken.
    [[nodiscard]] std::int16_t FreeFile() const;
    IoStatus Open(std::int16_t number, const Text& path, OpenMode mode);
    IoStatus Length(std::int16_t number, std::int64_t& length);
    // Fills `text` (already sized) from byte 1 on.
    IoStatus Get(std::int16_t number, Text& text);
    IoStatus Close(std::int16_t number);

    // Open for reading (creating a missing file), read whole, close.
    IoStatus ReadWhole(std::int16_t number, const Text& path, Text& text);

private:
    struct Slot {
        bool open = false;
        FileHandle handle = 0;
    };
    Slot* Find(std::int16_t number);

    FileApi& files_;
    std::array<Slot, kLast + 1> slots_{};
};

}  // namespace varnex
