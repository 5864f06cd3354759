// Sets of addons switched through favorites lists, chosen in the real open
// and save dialogs.
#include <gtest/gtest.h>

#include <filesystem>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

TEST(Switching, AFavoritesListSavedAndLoadedBringsTheSetBackAndAMissingOneLeavesOnlyTheGamesOwnOn) {
    GameInstall game(true);
    for (const char* name : {"Data.pbo", "tank.pbo", "jeep.pbo", "boat.pbx"})
        game.Write(std::string("ADDONS\\") + name, "addon");
    game.Write("mine.txtf", std::string(100, '#'));  // longer than the list that replaces it
    const std::string mine = game.Folder() + "\\mine.txtf", gone = game.Folder() + "\\gone.txtf";

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(varnex.ChooseFile(id::SaveFavorits, "Save As", mine), "Favorits (*.txtf)");
    EXPECT_EQ(game.Read("mine.txtf"), "jeep.pbx tank.pbx ");

    ClickEntry(Control(main, id::File1), 1);
    Click(Control(main, id::Command2));
    ASSERT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Data.pbo", "boat.pbx", "jeep.pbx", "tank.pbo"}));
    EXPECT_EQ(varnex.ChooseFile(id::LoadFavorits, "Open", mine), "Favorits (*.txtf)");
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Data.pbo", "boat.pbx", "jeep.pbo", "tank.pbo"}));
    EXPECT_EQ(Entries(Control(main, id::File1)), (Lines{"Data.pbo", "jeep.pbo", "tank.pbo"}));

    varnex.ChooseFile(id::LoadFavorits, "Open", gone);
    EXPECT_EQ(varnex.Answer(), "The favorites list " + gone +
                                   " was not found.\r\n\r\nEvery addon that is not one of the game's own has been "
                                   "deactivated; none was activated.");
    EXPECT_EQ(varnex.Window("VARNX", "#32770", 300), nullptr) << "a second box";
    EXPECT_FALSE(std::filesystem::exists(gone));
    EXPECT_EQ(game.Names("ADDONS"), (Lines{"Comments.txt", "Data.pbo", "boat.pbx", "jeep.pbx", "tank.pbx"}));
    EXPECT_EQ(Entries(Control(main, id::File1)), (Lines{"Data.pbo"}));
}

}  // namespace
}  // namespace varnex::e2e
