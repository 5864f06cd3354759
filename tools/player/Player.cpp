// Runs the simulated player over a range of seeds:
//   varnex_player [--seeds FIRST-LAST] [--steps N] [--shell wine|windows|both] [--budget PLAYS]
// Prints, for every seed that fails, the step at which it failed and the
// shortest sequence of steps found that still fails; with --quiet only the
// seed, the shell, the step and the check. Exits with 1 when any seed failed.
#include <cstdlib>
#include <iostream>
#include <string>

#include "support/SimulatedPlayer.hpp"

using namespace varnex;

int main(int argc, char** argv) {
    std::uint32_t first = 1, last = 20;
    int steps = 5000, budget = 1500;
    std::string shells = "both";
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : "";
        if (arg == "--seeds") {
            const std::string range = value;
            const auto dash = range.find('-');
            first = static_cast<std::uint32_t>(std::stoul(range.substr(0, dash)));
            last = dash == std::string::npos ? first : static_cast<std::uint32_t>(std::stoul(range.substr(dash + 1)));
            ++i;
        } else if (arg == "--steps") {
            steps = std::atoi(value), ++i;
        } else if (arg == "--shell") {
            shells = value, ++i;
        } else if (arg == "--budget") {
            budget = std::atoi(value), ++i;
        } else if (arg == "--quiet") {
            quiet = true;
        } else {
            std::cerr << "usage: varnex_player [--seeds FIRST-LAST] [--steps N] [--shell wine|windows|both] "
                         "[--budget PLAYS] [--quiet]\n";
            return 2;
        }
    }
    int failed = 0, played = 0;
    for (std::uint32_t seed = first; seed <= last; ++seed) {
        for (const auto kind : {platform::emulated::Shell::Kind::Wine, platform::emulated::Shell::Kind::Windows}) {
            const bool wine = kind == platform::emulated::Shell::Kind::Wine;
            if ((shells == "wine" && !wine) || (shells == "windows" && wine)) continue;
            const player::World world{seed, kind};
            const auto walk = player::Walk(seed, steps);
            ++played;
            const auto failure = player::Play(world, walk);
            if (!failure) continue;
            ++failed;
            if (quiet)
                std::cout << "seed " << seed << " " << (wine ? "wine" : "windows") << ": step " << failure->step + 1
                          << " " << failure->rule << ": " << failure->detail << "\n";
            else
                std::cout << player::Report(world, player::Shorten(world, walk, *failure, budget), *failure, steps)
                          << "\n";
        }
    }
    std::cout << failed << " of " << played << " walks of " << steps << " steps failed\n";
    return failed ? 1 : 0;
}
