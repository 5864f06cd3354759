// A game installation on the emulated platform: drive C: is a fresh host
// folder, the registry holds the game's keys, boxes and dialogs answer from
// scripts.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "app/AddonManager.hpp"
#include "platform/emulated/Emulated.hpp"

namespace varnex::testing {

inline constexpr const char* kGame = "C:\\Games\\OFP";
inline constexpr const char* kAddons = "C:\\Games\\OFP\\ADDONS";
inline constexpr const char* kResAddons = "C:\\Games\\OFP\\Res\\AddOns";

class Emulation {
public:
    Emulation();
    ~Emulation();

    std::filesystem::path root;  // the host folder behind C:
    emulated::Registry registry;
    std::unique_ptr<emulated::Files> files;
    std::unique_ptr<emulated::Shell> shell;
    emulated::Desktop desktop;

    [[nodiscard]] Platform platform() { return {registry, *files, *shell, desktop}; }

    // The game (and the expansion) registered and their folders made.
    void InstallGame(bool expansion = true);
    // Writes a file given by its Windows path, making its folders.
    void Write(const Text& windowsPath, const std::string& bytes);
    [[nodiscard]] bool Exists(const Text& windowsPath) const;
    [[nodiscard]] std::string Read(const Text& windowsPath) const;
    // The files of a folder, sorted by name as the disk spells them.
    [[nodiscard]] std::vector<Text> Names(const Text& windowsFolder) const;
};

// An emulation with a main window built on it.
class AppTest : public ::testing::Test {
protected:
    AppTest();
    // Builds the window and runs its start-up.
    AddonManager& Start();

    Emulation emu;
    std::unique_ptr<AddonManager> app;
};

std::vector<Text> Lines(const ListBox& list);
std::vector<Text> Names(const FileListBox& list);

// The Windows path of a file in the game's addon folder.
Text InAddons(const Text& name);
// Makes the entry `name` the list's current item, as the player's click does.
void ClickOn(FileListBox& list, const Text& name);

}  // namespace varnex::testing
