// The DPI the windows are laid out for, on each kind of Windows: the newer
// functions faked missing or failing, as older systems lack them.
#include <gtest/gtest.h>

#include <tuple>

#include "win32/Dpi.hpp"

namespace varnex::win32 {
namespace {

UINT WINAPI WindowAt0(HWND) { return 0; }
UINT WINAPI WindowAt144(HWND) { return 144; }
HRESULT WINAPI MonitorAt120(HMONITOR, int kind, UINT* x, UINT* y) {
    *x = *y = kind == 0 ? 120 : 1;  // only the effective DPI is asked for
    return S_OK;
}
HRESULT WINAPI MonitorFails(HMONITOR, int, UINT*, UINT*) { return E_INVALIDARG; }
UINT WINAPI SystemAt168() { return 168; }

TEST(Dpi, TheWindowsDpiElseItsMonitorsElseTheSystemsElseTheScreens) {
    const HWND desktop = GetDesktopWindow();
    const UINT screen = SystemDpi(DpiFunctions{});
    EXPECT_GE(screen, 96u) << "read from the screen where nothing else is had";
    const std::tuple<const char*, DpiFunctions, UINT, UINT> rows[] = {
        {"Windows 10", {&WindowAt144, &MonitorAt120, &SystemAt168}, 144, 168},
        {"a window the system gives no DPI", {&WindowAt0, &MonitorAt120, &SystemAt168}, 120, 168},
        {"Windows 8.1", {nullptr, &MonitorAt120, nullptr}, 120, screen},
        {"a monitor that cannot say", {nullptr, &MonitorFails, &SystemAt168}, 168, 168},
        {"Vista to 8", {nullptr, nullptr, nullptr}, screen, screen},
    };
    for (const auto& [system, functions, window, whole] : rows)
        EXPECT_EQ(std::pair(WindowDpi(desktop, functions), SystemDpi(functions)), std::pair(window, whole)) << system;
    // This system (Wine) has the window's own function: the monitor's is
    // not even loaded.
    EXPECT_NE(SystemDpiFunctions().forWindow, nullptr);
    EXPECT_EQ(SystemDpiFunctions().forMonitor, nullptr);
    EXPECT_EQ(WindowDpi(desktop), SystemDpiFunctions().forWindow(desktop));
}

}  // namespace
}  // namespace varnex::win32
