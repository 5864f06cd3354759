// A simulated player: a seeded walk of thousands of clicks, presses, typed
// comments, favorites lists and exits over the emulated platform, with the
// world changing under the program between the steps (files vanish, appear,
// get locked or write-protected, folders go). While a walk of the program
// keeps the window answering, the player clicks, double-clicks, types and
// picks options on: that input is kept until the handler ends, and may run
// only on what the player aimed at. After every step the drive is
// held against what the player's step may change, and after every Exit the
// saved comments are read back from the files. A failing walk is cut down to
// the shortest sequence of steps that still fails.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/emulated/ShellAndDesktop.hpp"

namespace varnex::player {

enum class Act : std::uint8_t {
    ClickActive,
    ClickInactive,
    OpenActive,  // a double click: the information window
    OpenInactive,
    ChooseGame,  // the three folder options
    ChooseExpansion,
    ChooseOthers,
    MoveFolder,  // a line of the folder list, or one seen before that may be gone
    Activate,
    Deactivate,
    ActivateAll,
    DeactivateAll,
    Delete,
    Type,  // typed into the comment box, not saved
    Comment,  // an addon clicked, a comment typed, Save comment pressed
    SaveList,
    LoadList,
    Exit,
    Close,  // the window's close box
    // The world between two steps.
    Vanish,
    Appear,
    Lock,
    WriteProtect,
    FolderGoes,
    Unreadable,  // the next folder listing fails
};

// One step. Its numbers pick among what the step finds when it runs (the
// n-th entry of a list, modulo its length), so a step taken out of a walk
// leaves the others meaningful; `answers` seeds the player's answers to
// every box the step brings up.
struct Step {
    Act act;
    std::uint32_t pick = 0, choice = 0, answers = 0;
};

[[nodiscard]] std::string Describe(const Step& step);

struct World {
    std::uint32_t seed = 1;
    platform::emulated::Shell::Kind shell = platform::emulated::Shell::Kind::Wine;
};

// The steps of a walk, from its seed alone.
[[nodiscard]] std::vector<Step> Walk(std::uint32_t seed, int steps);

struct Failure {
    int step = 0;  // 0-based index of the step after which a check failed
    std::string rule;  // which check, the same for every shortening of one fault
    std::string detail;
};

// Plays `steps` in a fresh world; the first check that fails, if any.
[[nodiscard]] std::optional<Failure> Play(const World& world, const std::vector<Step>& steps);

// The shortest sequence found that still fails the same check, at most
// `budget` plays spent on looking.
[[nodiscard]] std::vector<Step> Shorten(const World& world, std::vector<Step> steps, const Failure& failure,
                                        int budget = 4000);

// The seed, the failure and the shortened steps, as printed.
[[nodiscard]] std::string Report(const World& world, const std::vector<Step>& shortest, const Failure& first,
                                 int firstSteps);

}  // namespace varnex::player
