// The window code against the real window manager, in this process: a move
// to a monitor of another DPI.
#include <gtest/gtest.h>

#include <windows.h>

#include "forms/Dpi.hpp"
#include "forms/FormWindow.hpp"

namespace varnex::win32 {
namespace {

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

class PlainForm final : public FormWindow {
public:
    PlainForm(Gate& gate, SIZE twips) : FormWindow(gate) {
        Create("VarnexTestForm", 0, "Form", twips, WS_OVERLAPPEDWINDOW);
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    }
    void OnClose() override {}
};

// Windows 8.1, and 10 1607 with per-monitor DPI of the first kind, send
// WM_DPICHANGED without asking the window's size first, and suggest the old
// rectangle scaled by the DPIs' ratio, its frame too, which they do not scale.
TEST(Dpi, AMoveToAnotherDpiKeepsTheSuggestedPlaceAndSizesTheWindowToItsLayout) {
    Gate gate;
    PlainForm form(gate, SIZE{4500, 3000});  // 300 x 200 pixels at 96 DPI
    ASSERT_TRUE(form.IsOpen());
    ASSERT_EQ(WindowDpi(form.Handle()), 96u) << "the test session's screen";
    for (const UINT dpi : {144u, 120u, 96u}) {
        RECT before{};
        GetWindowRect(form.Handle(), &before);
        const RECT suggested{before.left + 10, before.top + 20,
                             before.left + 10 + MulDiv(before.right - before.left, 144, 96),
                             before.top + 20 + MulDiv(before.bottom - before.top, 144, 96)};
        SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT after{};
        GetWindowRect(form.Handle(), &after);
        const SIZE client = ClientSize(form.Handle());
        EXPECT_EQ(std::to_string(after.left - suggested.left) + "," + std::to_string(after.top - suggested.top) + " " +
                      std::to_string(client.cx) + "x" + std::to_string(client.cy),
                  "0,0 " + std::to_string(MulDiv(300, dpi, 96)) + "x" + std::to_string(MulDiv(200, dpi, 96)))
            << dpi << " DPI";
    }
}

}  // namespace
}  // namespace varnex::win32
