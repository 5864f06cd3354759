// Where a window goes and the DPI its layout fits at, on monitors that the
// fit runs under Wine cannot all reach: tiny ones, and a second monitor left
// of or above the first, whose coordinates are negative.
#include <gtest/gtest.h>

#include <vector>

#include "forms/Placement.hpp"

namespace varnex::forms {
namespace {

// kLeft: a second monitor left of and above the first.
constexpr Box kScreen{0, 0, 1920, 1040}, kTiny{0, 0, 300, 200}, kLeft{-1280, -200, 0, 824};

Box At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

TEST(Placement, AWindowMovesIntoTheWorkAreaAsLittleAsItCan) {
    struct Row {
        const char* what;
        Box window, work;
        Point at;
    };
    const Row rows[] = {
        {"inside", At(100, 100, 800, 600), kScreen, {100, 100}},
        {"out right and below", At(1500, 700, 800, 600), kScreen, {1120, 440}},
        {"out left and above", At(-30, -10, 800, 600), kScreen, {0, 0}},
        {"larger than a tiny work area", At(50, 50, 800, 600), kTiny, {0, 0}},
        {"left monitor, onto the first", At(-100, 500, 800, 600), kLeft, {-800, 224}},
        {"above the left monitor", At(-1000, -900, 800, 600), kLeft, {-1000, -200}},
        {"larger than the left monitor", At(-1000, -900, 1600, 1200), kLeft, {-1280, -200}},
    };
    for (const auto& [what, window, work, at] : rows) EXPECT_EQ(KeptInside(window, work), at) << what;
}

TEST(Placement, AWindowBesideAnotherGoesRightElseLeftElseOverIt) {
    struct Row {
        const char* what;
        Box theirs, clear, work;  // clear: what of theirs stays in sight, where not all of it
        Point at;
    };
    const Row rows[] = {
        {"right", At(100, 100, 800, 600), {}, kScreen, {900, 100}},
        {"right, at the edge", At(1120, 100, 400, 600), {}, kScreen, {1520, 100}},
        {"left", At(1000, 100, 800, 600), {}, kScreen, {600, 100}},
        {"over, right of the list", At(100, 100, 1700, 600), At(100, 150, 600, 500), kScreen, {1400, 100}},
        {"over, hard right of the list", At(100, 100, 1700, 600), At(100, 150, 1420, 500), kScreen, {1520, 100}},
        {"over, left of the list", At(0, 100, 1900, 600), At(1600, 150, 300, 500), kScreen, {1200, 100}},
        {"over the list too, at the right", At(0, 100, 1900, 600), At(300, 150, 1400, 500), kScreen, {1520, 100}},
        {"right, pulled up from below", At(100, 900, 800, 100), {}, kScreen, {900, 740}},
        {"tiny work area", kTiny, {}, kTiny, {0, 0}},
        {"right, left monitor", At(-1200, -150, 700, 500), {}, kLeft, {-500, -150}},
        {"left, left monitor", At(-800, -150, 700, 500), {}, kLeft, {-1200, -150}},
        {"over, left of list, left monitor", At(-1280, 600, 1280, 224), At(-500, 650, 500, 100), kLeft, {-900, 524}},
    };
    for (const auto& [what, theirs, clear, work, at] : rows)
        EXPECT_EQ(PlacedBeside(At(0, 0, 400, 300), theirs, clear == Box{} ? theirs : clear, work), at) << what;
}

TEST(Placement, TheLayoutFitsTheMonitorsDpiOrTheLargestLowerOne) {
    struct Row {
        const char* what;
        unsigned dpi;
        Box work;
        unsigned fitting;
    };
    const Row rows[] = {
        {"room enough", 96, kScreen, 96},
        {"exactly room enough", 96, Box{0, 0, 616, 459}, 96},
        {"a pixel too narrow", 96, Box{0, 0, 615, 459}, 95},
        {"a pixel too low", 96, Box{0, 0, 616, 458}, 95},
        {"small monitor, high DPI", 192, Box{0, 0, 640, 480}, 99},
        {"tiny: never below half", 96, Box{0, 0, 320, 240}, 48},
        {"left monitor: only its size counts", 240, kLeft, 202},
    };
    // A client area of 600 by 400 pixels at 96 DPI, and its frame.
    for (const auto& [what, dpi, work, fitting] : rows)
        EXPECT_EQ(FittingDpi({9000, 6000}, {16, 59}, dpi, work), fitting) << what;
    // Rounded as the system's MulDiv: halves away from zero.
    EXPECT_EQ((std::vector{ToPixels(225, 144), ToPixels(1, 719), ToPixels(-1, 720), ToPixels(15, 96)}),
              (std::vector{23, 0, -1, 1}));
}

}  // namespace
}  // namespace varnex::forms
