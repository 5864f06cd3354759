// The gate: input that comes while a handler works is kept and run after
// it only while what the player aimed at still stands.
#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "forms/Gate.hpp"

namespace varnex::forms {
namespace {

// Input kept while the handler works: a click on the list's second name,
// typing over the box's text, a press, a press that renames, closing a
// window, a press in the main window while a box disables it, input in the
// information window that also sends one on to the main window, and input
// whose handling gives more input.
enum class In { Click, Type, Press, Rename, Close, Disabled, Info, More };
// What the handler under way does.
enum class Does { Nothing, ReadsLists, ShiftsList, SetsBox, DisablesButton, Throws, ClosesInfo };
using enum In;
using enum Does;

struct Row {
    const char* what;
    Does does;
    std::vector<In> kept;
    std::vector<std::string> after;  // what ran after the handler, in order
    int dropped;  // how often the player heard a drop
};

const Row kRows[] = {
    {"in order", Nothing, {Click, Type, Press, Rename}, {"click b", "type", "press", "rename"}, 0},
    {"typing on typing", Nothing, {Type, Type}, {"type", "type"}, 0},
    {"click in lists read anew", ReadsLists, {Click, Type}, {"click b", "type"}, 0},
    {"click on a moved name", ShiftsList, {Click, Press, Close}, {"close"}, 1},
    {"typing over a new text", SetsBox, {Press, Type, Press}, {"press"}, 1},
    {"press on a disabled button", DisablesButton, {Press, Click}, {}, 1},
    {"rename after new lists", ReadsLists, {Rename, Close}, {"close"}, 1},
    {"after a throw", Throws, {Press, Close}, {"close"}, 0},
    {"disabled window", Nothing, {Press, Disabled, Press}, {"press", "press"}, 0},
    {"info window", Nothing, {Info}, {"sent on", "info"}, 0},
    {"closed window", ClosesInfo, {Info, Press}, {"sent on", "press"}, 0},
    {"kept by kept input", Nothing, {More, Press}, {"more", "press", "more's"}, 0},
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.what; }

class GateTest : public ::testing::TestWithParam<Row> {};

TEST_P(GateTest, KeptInputRunsOnlyWhileThePlayersAimStands) {
    const auto& [what, does, kept, after, dropped] = GetParam();
    std::vector<std::string> list{"a", "b", "c"}, ran, failures;
    std::string box = "old note", typed;
    std::uint64_t listings = 0, typedRound = 0;
    bool clickable = true, mainEnabled = true;
    int main = 0, info = 0, beeps = 0, settled = 0;  // main, info: two windows
    std::vector<bool> edges;
    Gate gate;
    gate.SetAccepts([&](Gate::Source source) { return source != &main || mainEnabled; });
    gate.SetBusyChanged([&](bool busy) { edges.push_back(busy); });
    gate.SetDropped([&] { ++beeps; });
    gate.SetSettle([&] { ++settled; });
    gate.SetListings([&] { return listings; });
    gate.SetFailed([&](const std::string& what) { failures.push_back(what); });
    const auto note = [&ran](const std::string& what) { return [&ran, what] { ran.push_back(what); }; };
    // Each input as its view hands it to the gate.
    const auto give = [&](In input) {
        if (input == Click) return gate.Run(note("click " + list[1]), Aim{[&, at = list[1]] { return list[1] == at; }});
        if (input == Press) return gate.Run(note("press"), Aim{[&] { return clickable; }});
        if (input == Rename) return gate.Run(note("rename"), Aim{[&] { return clickable; }, true});
        if (input == Close) return gate.Run(note("close"), Aim{{}, false, true});
        if (input == More) return gate.Run([&] { ran.push_back("more"), gate.Run(note("more's")); });
        if (input == Type) {
            // Typing kept before in the same wait is what it was typed over.
            const std::string under = gate.Busy() && typedRound == gate.Round() ? typed : box;
            typed = under + "x", typedRound = gate.Round();
            return gate.Run([&, now = typed] { box = now, ran.push_back("type"); },
                            Aim{[&, under] { return box == under; }});
        }
        const Gate::From from(gate, input == Info ? &info : &main);
        mainEnabled = input != Disabled;  // from here on a box keeps the main window disabled
        if (input == Info) {
            const Gate::From sentOn(gate, &main);  // belongs to the inner window
            gate.Run(note("sent on"));
        }
        return gate.Run(note(input == Info ? "info" : "disabled"));
    };

    EXPECT_TRUE(gate.Run([&] {
        for (const In input : kept) EXPECT_FALSE(give(input)) << "kept while the handler works";
        EXPECT_TRUE(ran.empty() && gate.Busy() && edges == std::vector<bool>{true}) << "busy told once, nothing run";
        if (does == ReadsLists) ++listings;
        if (does == ShiftsList) list.erase(list.begin()), ++listings;
        if (does == SetsBox) box = "the next addon's note";
        if (does == DisablesButton) clickable = false;
        if (does == ClosesInfo) gate.Forget(&info);
        if (does == Throws) throw std::runtime_error("the disk is full");
    }));
    EXPECT_EQ(std::tie(ran, beeps), std::tie(after, dropped)) << "what ran, and how often the player heard a drop";
    EXPECT_EQ(settled, 1 + static_cast<int>(after.size())) << "the windows are brought up to date after each";
    EXPECT_EQ(failures, std::vector<std::string>(does == Throws, "the disk is full"));
    EXPECT_EQ(edges, (std::vector<bool>{true, false})) << "once on each edge, however much was kept";
    // The program goes on: idle input runs at once.
    EXPECT_TRUE(give(Press) && ran.back() == "press" && !gate.Busy());
}

INSTANTIATE_TEST_SUITE_P(Rows, GateTest, ::testing::ValuesIn(kRows));

}  // namespace
}  // namespace varnex::forms
