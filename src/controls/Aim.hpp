// What input kept while a handler runs needs to find when it runs. The
// models build it, since what the player aimed at (the name at a place in a
// list, the text typed over, the folder the folder list showed) is their
// state; the window's views only ask for it.
#pragma once

#include <functional>

namespace varnex {

struct Aim {
    // Still true when the input's target is where the player saw it.
    std::function<bool()> holds{};
    // The input renames, deletes or writes: it runs only while the lists
    // stand as they were when it came.
    bool changesFiles = false;
    // Closing a window: it runs also after a dropped input.
    bool always = false;
};

}  // namespace varnex
