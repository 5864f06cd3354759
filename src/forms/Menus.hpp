// A window's menu bar over menu item models: the player's choice of an item
// runs its Click through the gate, as a button's press does.
#pragma once

#include <initializer_list>
#include <unordered_map>

#include "controls/Controls.hpp"
#include "forms/Gate.hpp"
#include "forms/Handles.hpp"

namespace varnex::win32 {

// An item of a menu and the ID scripts choose it by.
struct MenuCommand {
    int id;
    MenuItem& item;
};

class MenuBar {
public:
    // A menu titled with `title`'s caption, over `commands`. They rename,
    // delete or write when `changesFiles`: a choice kept during a handler is
    // dropped when the lists changed meanwhile.
    void AddMenu(const MenuItem& title, std::initializer_list<MenuCommand> commands, bool changesFiles);
    // The bar, for the window to take over; null when it has no menu.
    [[nodiscard]] UniqueMenu Take() { return std::move(bar_); }
    // The player chose the item `id`.
    void Choose(int id, Gate& gate) const;

private:
    struct Chosen {
        MenuItem* item;
        bool changesFiles;
    };
    UniqueMenu bar_;
    std::unordered_map<int, Chosen> items_;
};

}  // namespace varnex::win32
