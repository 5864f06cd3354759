#include "forms/Menus.hpp"

#include "controls/OptionGroup.hpp"

namespace varnex::forms {

void MenuBar::AddMenu(const MenuItem& title, std::initializer_list<MenuCommand> commands, Changes changes) {
    if (!bar_) bar_.reset(CreateMenu());
    UniqueMenu menu(CreatePopupMenu());
    for (const MenuCommand& command : commands) {
        AppendMenuA(menu.get(), MF_STRING, command.id, command.item.Caption().c_str());
        items_[command.id] = {&command.item, changes == Changes::Files};
    }
    if (AppendMenuA(bar_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(menu.get()), title.Caption().c_str()))
        (void)menu.release();
}

void MenuBar::Choose(int id, Gate& gate) const {
    const auto found = items_.find(id);
    if (found == items_.end() || !TakesInput(*found->second.item)) return;
    MenuItem& item = *found->second.item;
    // Kept, the choice is asked again when it runs, as a button's press is.
    gate.Run(
        [&item] {
            if (item.Click) item.Click();
        },
        Aim{.holds = [&item] { return TakesInput(item); }, .changesFiles = found->second.changesFiles});
}

}  // namespace varnex::forms
