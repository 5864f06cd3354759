// Where a window goes and the DPI its layout fits at, on monitors that the
// fit runs under Wine cannot all reach: tiny ones, and a second monitor left
// of or above the first, whose coordinates are negative.
#include <gtest/gtest.h>

#include "forms/Placement.hpp"

namespace varnex::placement {
namespace {

constexpr Box kScreen{0, 0, 1920, 1040};
constexpr Box kLeftMonitor{-1280, -200, 0, 824};  // a second monitor left of and above the first

Box At(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

TEST(Placement, AWindowKeptInsideTheWorkAreaMovesByAsLittleAsItTakes) {
    struct Row {
        const char* what;
        Box window, work;
        Point at;
    };
    const Row rows[] = {
        {"inside already", At(100, 100, 800, 600), kScreen, {100, 100}},
        {"hanging out right and below", At(1500, 700, 800, 600), kScreen, {1120, 440}},
        {"hanging out left and above", At(-30, -10, 800, 600), kScreen, {0, 0}},
        {"larger than a tiny work area", At(50, 50, 800, 600), Box{0, 0, 320, 240}, {0, 0}},
        {"on the left monitor, hanging onto the first", At(-100, 500, 800, 600), kLeftMonitor, {-800, 224}},
        {"above the left monitor", At(-1000, -900, 800, 600), kLeftMonitor, {-1000, -200}},
        {"larger than the left monitor", At(-1000, -900, 1600, 1200), kLeftMonitor, {-1280, -200}},
    };
    for (const Row& row : rows) EXPECT_EQ(KeptInside(row.window, row.work), row.at) << row.what;
}

TEST(Placement, AWindowPlacedBesideAnotherGoesRightElseLeftElseOverItClearOfWhatMustStayInSight) {
    const Box mine = At(0, 0, 400, 300);
    struct Row {
        const char* what;
        Box theirs, keepClear, work;
        Point at;
    };
    const Row rows[] = {
        {"right", At(100, 100, 800, 600), At(100, 100, 800, 600), kScreen, {900, 100}},
        {"right, touching the work area's edge",
         At(1120, 100, 400, 600),
         At(1120, 100, 400, 600),
         kScreen,
         {1520, 100}},
        {"left", At(1000, 100, 800, 600), At(1000, 100, 800, 600), kScreen, {600, 100}},
        {"over it, right of the list", At(100, 100, 1700, 600), At(100, 150, 600, 500), kScreen, {1400, 100}},
        {"over it, hard right of the list", At(100, 100, 1700, 600), At(100, 150, 1420, 500), kScreen, {1520, 100}},
        {"over it, left of the list", At(0, 100, 1900, 600), At(1600, 150, 300, 500), kScreen, {1200, 100}},
        {"over it and the list, at the right", At(0, 100, 1900, 600), At(300, 150, 1400, 500), kScreen, {1520, 100}},
        {"right, pulled up from below the work area",
         At(100, 900, 800, 100),
         At(100, 900, 800, 100),
         kScreen,
         {900, 740}},
        {"a tiny work area", Box{0, 0, 300, 200}, Box{0, 0, 300, 200}, Box{0, 0, 300, 200}, {0, 0}},
        {"right, on the left monitor",
         At(-1200, -150, 700, 500),
         At(-1200, -150, 700, 500),
         kLeftMonitor,
         {-500, -150}},
        {"left, on the left monitor", At(-800, -150, 700, 500), At(-800, -150, 700, 500), kLeftMonitor, {-1200, -150}},
        {"over it, left of the list, on the left monitor",
         At(-1280, 600, 1280, 224),
         At(-500, 650, 500, 100),
         kLeftMonitor,
         {-900, 524}},
    };
    for (const Row& row : rows) EXPECT_EQ(PlacedBeside(mine, row.theirs, row.keepClear, row.work), row.at) << row.what;
}

TEST(Placement, TheLayoutFitsAtTheMonitorsDpiElseTheLargestLowerDownToHalfOfIt) {
    const Extent client{9000, 6000};  // 600 by 400 pixels at 96 DPI
    const Extent frame{16, 59};
    struct Row {
        const char* what;
        unsigned dpi;
        Box work;
        unsigned fitting;
    };
    const Row rows[] = {
        {"room enough", 96, kScreen, 96},
        {"room enough at twice the DPI", 192, kScreen, 192},
        {"exactly room enough", 96, Box{0, 0, 616, 459}, 96},
        {"a pixel too narrow", 96, Box{0, 0, 615, 459}, 95},
        {"a pixel too low", 96, Box{0, 0, 616, 458}, 95},
        {"a small monitor at a high DPI", 192, Box{0, 0, 640, 480}, 99},
        {"a tiny work area: never below half", 96, Box{0, 0, 320, 240}, 48},
        {"smaller than the frame alone", 144, Box{0, 0, 10, 10}, 72},
        {"the left monitor: only its size counts", 240, kLeftMonitor, 202},
    };
    for (const Row& row : rows) EXPECT_EQ(FittingDpi(client, frame, row.dpi, row.work), row.fitting) << row.what;
    // Rounded as the system's MulDiv: halves away from zero.
    EXPECT_EQ(ToPixels(225, 144), 23);
    EXPECT_EQ(ToPixels(1, 719), 0);
    EXPECT_EQ(ToPixels(-1, 720), -1);
    EXPECT_EQ(ToPixels(15, 96), 1);
}

}  // namespace
}  // namespace varnex::placement
