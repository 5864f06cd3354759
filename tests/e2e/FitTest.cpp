// The windows on the screen of this session, whatever its size and DPI:
// the main window lies inside the work area, scaled down as a whole only
// where it would not fit, and the information window opens beside it or
// clear of the active addon list. Either window open keeps the program on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

// The main window's client area and two of its controls, as laid out in
// twips (1440 to the inch).
constexpr SIZE kClientTwips{10305, 8865};
constexpr RECT kActiveListTwips{240, 240, 240 + 3855, 240 + 7335};
constexpr RECT kExitTwips{6720, 7875, 6720 + 3495, 7875 + 495};

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

// A control's place in its window's client area.
RECT ClientPlace(HWND control) {
    RECT rect = ScreenRect(control);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// `twips` at the layout's scale `pixelsPerTwip`, within a pixel or two.
void ExpectPlace(HWND control, const RECT& twips, double pixelsPerTwip, const char* what) {
    const RECT place = ClientPlace(control);
    const auto within = [&](LONG pixels, LONG inTwips) { return std::abs(pixels - inTwips * pixelsPerTwip) <= 2.0; };
    EXPECT_TRUE(within(place.left, twips.left) && within(place.top, twips.top) && within(place.right, twips.right) &&
                within(place.bottom, twips.bottom))
        << what << " at " << Describe(place);
}

TEST(Fit, TheMainWindowFitsTheWorkAreaScaledWholeOnlyWhereNeededAndTheInformationWindowLeavesTheListInSight) {
    // Sizes as the program sees them, not scaled for a program that knows
    // nothing of DPI.
    SetProcessDPIAware();
    GameInstall game(true);
    for (const char* name : {"jeep.pbo", "tank.pbo", "heli.pbx"}) game.Write(std::string("ADDONS\\") + name, "addon");
    game.Write("ADDONS\\jeep.txt", "/x/authorDriver/x/version1.0");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork;
    const RECT frame = ScreenRect(main);
    std::printf("%d DPI, work area %s, main window %s\n", dpi, Describe(work).c_str(), Describe(frame).c_str());

    // Inside the work area, every control inside the client area.
    EXPECT_TRUE(Inside(frame, work)) << Describe(frame) << " in " << Describe(work);
    RECT client{};
    GetClientRect(main, &client);
    for (const int control : {id::File1, id::File2, id::Dir1, id::Save, id::Command4, id::foldersize, id::Label1})
        EXPECT_TRUE(Inside(ClientPlace(Control(main, control)), client)) << "control " << control;

    // The whole layout at one scale: at the monitor's DPI where that fits,
    // else at the largest that does.
    const double scale = static_cast<double>(client.right) / kClientTwips.cx;
    EXPECT_NEAR(client.bottom, kClientTwips.cy * scale, 2.0) << "the proportions kept";
    ExpectPlace(Control(main, id::File1), kActiveListTwips, scale, "the active list");
    ExpectPlace(Control(main, id::Command4), kExitTwips, scale, "Exit");
    RECT full{0, 0, MulDiv(kClientTwips.cx, dpi, 1440), MulDiv(kClientTwips.cy, dpi, 1440)};
    const SIZE clientSize{client.right, client.bottom};
    AdjustWindowRectEx(&full, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, TRUE, 0);
    if (full.right - full.left <= work.right - work.left && full.bottom - full.top <= work.bottom - work.top) {
        EXPECT_EQ(clientSize.cx, MulDiv(kClientTwips.cx, dpi, 1440)) << "unchanged where it fits";
        EXPECT_EQ(clientSize.cy, MulDiv(kClientTwips.cy, dpi, 1440));
    } else {
        // Scaled down no further than it takes: one step larger, a pixel
        // more to the inch, would not fit.
        const int frameWidth = (frame.right - frame.left) - clientSize.cx;
        const int frameHeight = (frame.bottom - frame.top) - clientSize.cy;
        const int layoutDpi = static_cast<int>(scale * 1440 + 0.5);
        EXPECT_LT(layoutDpi, dpi);
        EXPECT_TRUE(MulDiv(kClientTwips.cx, layoutDpi + 1, 1440) + frameWidth > work.right - work.left ||
                    MulDiv(kClientTwips.cy, layoutDpi + 1, 1440) + frameHeight > work.bottom - work.top)
            << "laid out at " << layoutDpi << " DPI";
    }

    // The information window: beside the main window where there is room,
    // else inside the work area and clear of the active list.
    ClickEntry(Control(main, id::File1), 0, LBN_DBLCLK);
    const HWND info = varnex.Window("Addon Information");
    ASSERT_NE(info, nullptr);
    const RECT infoFrame = ScreenRect(info);
    std::printf("information window %s\n", Describe(infoFrame).c_str());
    EXPECT_TRUE(Inside(infoFrame, work)) << Describe(infoFrame);
    EXPECT_FALSE(Overlap(infoFrame, ScreenRect(Control(main, id::File1)))) << Describe(infoFrame);
    const int infoWidth = infoFrame.right - infoFrame.left;
    if (work.right - frame.right >= infoWidth || frame.left - work.left >= infoWidth) {
        EXPECT_FALSE(Overlap(infoFrame, frame)) << "room beside the main window";
    }
    RECT infoClient{};
    GetClientRect(info, &infoClient);
    for (int field = id::InfoText1; field < id::InfoText1 + 6; ++field)
        EXPECT_TRUE(Inside(ClientPlace(Control(info, field)), infoClient)) << "field " << field;

    // A picture of the screen for the eye, when the session asks for one.
    if (const char* shot = std::getenv("VARNEX_FIT_PAUSE_MS")) Sleep(static_cast<DWORD>(std::atoi(shot)));

    // The program runs on while one of its windows is open.
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(varnex.WaitForExit(300).has_value());
    SendMessageW(info, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
}

}  // namespace
}  // namespace varnex::e2e
