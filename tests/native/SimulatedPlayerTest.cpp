// A few seeds of the simulated player on each shell, every run thousands of
// steps long; tools/player runs any number of them.
#include <gtest/gtest.h>

#include "support/Fixture.hpp"
#include "support/SimulatedPlayer.hpp"

namespace varnex::player {
namespace {

struct SimulatedPlayer : ::testing::TestWithParam<platform::emulated::Shell::Kind> {};

TEST_P(SimulatedPlayer, TwoLongWalksKeepEveryFileAsThePlayerMeantIt) {
    for (std::uint32_t seed = 1; seed <= 2; ++seed) {
        const World world{seed, GetParam()};
        const auto steps = Walk(seed, 2000);
        if (const auto failure = Play(world, steps))
            ADD_FAILURE() << Report(world, Shorten(world, steps, *failure, 200), *failure,
                                    static_cast<int>(steps.size()));
    }
}

using ShellKind = platform::emulated::Shell::Kind;

INSTANTIATE_TEST_SUITE_P(Shell, SimulatedPlayer, ::testing::Values(ShellKind::Wine, ShellKind::Windows),
                         [](const auto& info) { return info.param == ShellKind::Wine ? "Wine" : "Windows"; });

}  // namespace
}  // namespace varnex::player
