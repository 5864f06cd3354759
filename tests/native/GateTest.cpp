// The gate: input that comes while a handler works is kept and run after
// it only while what the player aimed at still stands.
#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "forms/Gate.hpp"

namespace varnex::win32 {
namespace {

// What the handlers and the kept input act on.
struct World {
    std::vector<std::string> list{"a.pbo", "b.pbo", "c.pbo"};
    std::uint64_t listings = 0;  // moves with every new listing
    bool buttonClickable = true;
    std::string box = "old note";
    std::vector<std::string> ran;
};

enum class Input { ClickB, TypeOverOldNote, Press, PressThatRenames, Close };

// The handler under way, and what it does to the world.
enum class Handler { ChangesNothing, ReadsTheListAnew, ShiftsTheList, PutsATextIntoTheBox, DisablesTheButton, Throws };

struct Row {
    const char* what;
    Handler handler;
    std::vector<Input> kept;
    std::vector<std::string> ran;  // after the handler, in order
    int beeps;
};

const Row kRows[] = {
    {"all kept input runs after the handler, in order",
     Handler::ChangesNothing,
     {Input::ClickB, Input::TypeOverOldNote, Input::Press, Input::PressThatRenames},
     {"click b.pbo", "typing", "press", "rename"},
     0},
    {"a click finds its name at its place in a list read anew",
     Handler::ReadsTheListAnew,
     {Input::ClickB, Input::TypeOverOldNote},
     {"click b.pbo", "typing"},
     0},
    {"a click whose name moved away is dropped, and so is what follows it",
     Handler::ShiftsTheList,
     {Input::ClickB, Input::Press, Input::Close},
     {"close"},
     1},
    {"typing over a text the handler replaced is dropped",
     Handler::PutsATextIntoTheBox,
     {Input::Press, Input::TypeOverOldNote, Input::Press},
     {"press"},
     1},
    {"a press is asked again when it runs", Handler::DisablesTheButton, {Input::Press, Input::ClickB}, {}, 1},
    {"a press that renames waits for lists that did not change",
     Handler::ReadsTheListAnew,
     {Input::PressThatRenames, Input::Close},
     {"close"},
     1},
    {"after a handler that threw, only closing runs", Handler::Throws, {Input::Press, Input::Close}, {"close"}, 0},
};

// Names each row by what it holds, so the test's name does not change
// from run to run.
void PrintTo(const Row& row, std::ostream* out) { *out << row.what; }

class GateTest : public ::testing::TestWithParam<Row> {};

TEST_P(GateTest, KeptInputActsOnlyOnWhatThePlayerAimedAt) {
    const Row& row = GetParam();
    World world;
    Gate gate;
    int beeps = 0, settled = 0;
    std::vector<std::string> failures;
    gate.SetDropped([&] { ++beeps; });
    gate.SetSettle([&] { ++settled; });
    gate.SetListings([&] { return world.listings; });
    gate.SetFailed([&](const std::string& what) { failures.push_back(what); });

    // Each input as its view hands it to the gate.
    const auto give = [&](Input input) {
        switch (input) {
            case Input::ClickB: {
                const int index = 1;
                const std::string name = world.list[index];
                return gate.Run([&, name] { world.ran.push_back("click " + name); },
                                Aim{[&, index, name] { return world.list[index] == name; }});
            }
            case Input::TypeOverOldNote: {
                const std::string under = world.box;
                return gate.Run([&] { world.box = "typed", world.ran.push_back("typing"); },
                                Aim{[&, under] { return world.box == under; }});
            }
            case Input::Press:
                return gate.Run([&] { world.ran.push_back("press"); }, Aim{[&] { return world.buttonClickable; }});
            case Input::PressThatRenames:
                return gate.Run([&] { world.ran.push_back("rename"); },
                                Aim{[&] { return world.buttonClickable; }, true});
            case Input::Close:
                return gate.Run([&] { world.ran.push_back("close"); }, Aim{{}, false, true});
        }
        return false;
    };

    EXPECT_TRUE(gate.Run([&] {
        for (const Input input : row.kept) EXPECT_FALSE(give(input)) << "kept while the handler works";
        EXPECT_TRUE(world.ran.empty());
        switch (row.handler) {
            case Handler::ChangesNothing:
                break;
            case Handler::ReadsTheListAnew:
                ++world.listings;
                break;
            case Handler::ShiftsTheList:
                world.list.erase(world.list.begin()), ++world.listings;
                break;
            case Handler::PutsATextIntoTheBox:
                world.box = "the next addon's note";
                break;
            case Handler::DisablesTheButton:
                world.buttonClickable = false;
                break;
            case Handler::Throws:
                throw std::runtime_error("the disk is full");
        }
    })) << row.what;
    EXPECT_EQ(world.ran, row.ran) << row.what;
    EXPECT_EQ(beeps, row.beeps) << row.what;
    EXPECT_EQ(settled, 1 + static_cast<int>(row.ran.size())) << "the windows are brought up to date after each";
    EXPECT_EQ(failures, row.handler == Handler::Throws ? std::vector<std::string>{"the disk is full"}
                                                       : std::vector<std::string>{})
        << row.what;
    EXPECT_FALSE(gate.Busy());
    // The program goes on: the next input runs at once.
    world.ran.clear();
    EXPECT_TRUE(give(Input::ClickB) || world.list.size() < 3) << row.what;
}

INSTANTIATE_TEST_SUITE_P(Rows, GateTest, ::testing::ValuesIn(kRows));

TEST(Gate, InputIsTakenOnlyFromSourcesThatStillTakeItAndBusyIsToldOnEachEdge) {
    Gate gate;
    int main = 0, info = 0;  // two windows
    bool mainEnabled = true;
    gate.SetAccepts([&](Gate::Source source) { return source != &main || mainEnabled; });
    std::vector<bool> edges;
    gate.SetBusyChanged([&](bool busy) { edges.push_back(busy); });
    std::vector<std::string> ran;
    const auto input = [&](Gate::Source source, const std::string& what) {
        const Gate::From from(gate, source);
        return gate.Run([&ran, what] { ran.push_back(what); });
    };

    EXPECT_TRUE(input(&main, "idle")) << "idle input runs at once";
    EXPECT_EQ(ran, std::vector<std::string>{"idle"});
    EXPECT_EQ(edges, (std::vector<bool>{true, false}));
    ran.clear(), edges.clear();

    EXPECT_TRUE(gate.Run([&] {
        EXPECT_TRUE(gate.Busy());
        EXPECT_FALSE(input(&main, "main 1"));
        mainEnabled = false;  // a box keeps the window disabled
        EXPECT_FALSE(input(&main, "main while disabled"));
        mainEnabled = true;
        EXPECT_FALSE(input(&info, "info 1"));
        {
            // Messages sent on from one window to another belong to the inner.
            const Gate::From outer(gate, &info);
            EXPECT_FALSE(input(&main, "main 2"));
            EXPECT_FALSE(gate.Run([&] { ran.push_back("info 2"); }));
        }
        EXPECT_FALSE(input(nullptr, "menu"));
        gate.Forget(&info);  // the window closed
        EXPECT_FALSE(input(&main, "main 3"));
        EXPECT_EQ(edges, std::vector<bool>{true});
    }));
    EXPECT_EQ(ran, (std::vector<std::string>{"main 1", "main 2", "menu", "main 3"}));
    EXPECT_EQ(edges, (std::vector<bool>{true, false})) << "once on each edge, however much was kept";
    EXPECT_FALSE(gate.Busy());
}

TEST(Gate, InputKeptDuringKeptInputIsCheckedAsItsOwnAndTypingKeptInOneWaitBuildsOnItself) {
    Gate gate;
    std::string box = "a";
    std::vector<std::string> ran;
    int beeps = 0;
    gate.SetDropped([&] { ++beeps; });
    // Typing as a text box hands it over: the text it was typed over is the
    // one kept before it in the same wait.
    std::string keptTyped;
    std::uint64_t keptRound = 0;
    const auto type = [&](const std::string& typed) {
        const std::string under = gate.Busy() && keptRound == gate.Round() ? keptTyped : box;
        if (gate.Run([&, typed] { box = typed; }, Aim{[&, under] { return box == under; }})) return;
        keptTyped = typed;
        keptRound = gate.Round();
    };
    gate.Run([&] {
        type("ab");
        type("abc");
        gate.Run([&] {
            ran.push_back("first kept");
            gate.Run([&] { ran.push_back("kept while kept input ran"); });
        });
    });
    EXPECT_EQ(box, "abc");
    EXPECT_EQ(ran, (std::vector<std::string>{"first kept", "kept while kept input ran"}));
    EXPECT_EQ(beeps, 0);
    // A later wait starts afresh: typing is measured against the box again.
    gate.Run([&] {
        type("abcd");
        box = "other";
    });
    EXPECT_EQ(box, "other");
    EXPECT_EQ(beeps, 1);
}

}  // namespace
}  // namespace varnex::win32
