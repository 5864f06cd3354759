// A fresh folder under the Windows temporary folder, removed with all it
// holds. Its helpers use the A functions directly, not the services under
// test, so a fault there cannot hide itself.
#pragma once

#include <string_view>
#include <vector>

#include "text/ClassicText.hpp"

namespace varnex::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // "C:\...\varnex-<process>-<n>", without a closing backslash.
    [[nodiscard]] const Text& path() const { return path_; }
    [[nodiscard]] Text At(const Text& name) const { return path_ + "\\" + name; }

    void Write(const Text& name, std::string_view bytes) const;
    [[nodiscard]] std::string Read(const Text& name) const;
    // Names as the disk spells them, sorted.
    [[nodiscard]] std::vector<Text> Names() const;

private:
    Text path_;
};

}  // namespace varnex::testing
