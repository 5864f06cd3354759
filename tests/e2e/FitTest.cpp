// The windows on the screen of this session, whatever its size and DPI:
// the main window lies inside the work area with its whole layout, and the
// information window opens inside it too, clear of the active addon list.
// Either window open keeps the program on. (The scale a layout gets and
// where a window goes are the placement rules' own tests.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "Driver.hpp"

namespace varnex::e2e {
namespace {

RECT ScreenRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

std::string Describe(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

// Every control of the window inside its client area.
void ExpectControlsInside(HWND window, std::initializer_list<int> controls) {
    RECT client{};
    GetClientRect(window, &client);
    for (const int control : controls) {
        RECT place = ScreenRect(Control(window, control));
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
        EXPECT_TRUE(Inside(place, client)) << "control " << control << " at " << Describe(place);
    }
}

// The screen's pixels under `area`, row by row.
std::vector<COLORREF> Pixels(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const COLORREF*>(bits);
    std::vector<COLORREF> pixels(first, first + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

// The window painted anew, whole, and the paint seen on the screen.
void Repaint(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(200);
}

TEST(Fit, BothWindowsFitAndKeepTheActiveListInSight) {
    SetProcessDPIAware();  // sizes as the program sees them
    GameInstall game(true);
    for (const char* name : {"jeep.pbo", "tank.pbo", "heli.pbx"}) game.Write(std::string("ADDONS\\") + name, "addon");
    game.Write("ADDONS\\jeep.txt", "/x/authorDriver/x/version1.0");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption);
    ASSERT_NE(main, nullptr);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT work = monitor.rcWork, frame = ScreenRect(main);
    EXPECT_TRUE(Inside(frame, work)) << Describe(frame) << " in " << Describe(work);
    ExpectControlsInside(main, {id::File1, id::File2, id::Dir1, id::Save, id::Command4, id::foldersize, id::Label1});

    // " Delete inactive addon " lies over the lower part of the logo, as
    // laid out, and is drawn above it: its pixels are the same with the
    // logo and without.
    constexpr int kImage1 = 1117;
    const HWND logo = Control(main, kImage1), button = Control(main, id::Command1);
    const RECT logoPlace = ScreenRect(logo), buttonPlace = ScreenRect(button);
    EXPECT_TRUE(logoPlace.top < buttonPlace.top && buttonPlace.top < logoPlace.bottom &&
                logoPlace.bottom < buttonPlace.bottom)
        << Describe(logoPlace) << " and " << Describe(buttonPlace);
    bool above = false;
    for (HWND below = GetWindow(button, GW_HWNDNEXT); below && !above; below = GetWindow(below, GW_HWNDNEXT))
        above = below == logo;
    EXPECT_TRUE(above) << "the button lies under the logo";
    SetCursorPos(0, 0);
    Repaint(main);
    const std::vector<COLORREF> withLogo = Pixels(buttonPlace);
    ShowWindow(logo, SW_HIDE);
    Repaint(main);
    const std::vector<COLORREF> alone = Pixels(buttonPlace);
    ShowWindow(logo, SW_SHOWNA);
    Repaint(main);
    EXPECT_TRUE(withLogo == alone && Pixels(buttonPlace) == alone) << "the logo is drawn over the button";

    // A double click on the first addon opens its information window.
    ClickEntry(Control(main, id::File1), 0, LBN_DBLCLK);
    const HWND info = varnex.Window("Addon Information");
    ASSERT_NE(info, nullptr);
    const RECT infoFrame = ScreenRect(info), list = ScreenRect(Control(main, id::File1));
    RECT common{};
    EXPECT_TRUE(Inside(infoFrame, work) && !IntersectRect(&common, &infoFrame, &list)) << Describe(infoFrame);
    // A picture of the screen for the eye, when the session asks for one.
    if (const char* shot = std::getenv("VARNEX_FIT_PAUSE_MS")) Sleep(static_cast<DWORD>(std::atoi(shot)));

    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(varnex.WaitForExit(300).has_value());
    SendMessageW(info, WM_CLOSE, 0, 0);
    EXPECT_EQ(varnex.WaitForExit(), 0u);
}

}  // namespace
}  // namespace varnex::e2e
