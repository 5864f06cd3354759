// How long varnex.exe leaves its window unpainted while Activate all works
// through a big folder under Wine. This program marks a corner of the
// main window as needing paint again as soon as the program has painted it,
// and takes the time each mark waited: the longest wait is the longest
// stretch the window went unpainted (give or take the millisecond of a poll). The label's text at the end of each
// stretch tells which part of the handler it fell in.
//
//   varnex_paint_bench.exe [ADDONS]        (5,000 by default)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.hpp"

using namespace varnex::e2e;

namespace {

struct Stretch {
    DWORD ms;
    std::string label;  // as it read once the stretch ended
};

}  // namespace

int main(int argc, char** argv) {
    const int addons = argc > 1 ? std::atoi(argv[1]) : 5000;
    GameInstall game(true);
    for (int i = 0; i < addons; ++i) game.Write("ADDONS\\a" + std::to_string(100000 + i) + ".pbx", "addon");

    Varnex varnex;
    const HWND main = varnex.Window(kMainCaption, nullptr, 60000);
    if (!main) {
        std::fprintf(stderr, "varnex.exe did not open its window\n");
        return 1;
    }
    const HWND label1 = Control(main, id::Label1);

    std::vector<Stretch> stretches;
    const RECT corner{0, 0, 4, 4};
    const ULONGLONG begin = GetTickCount64();
    PostMessageW(Control(main, id::Command6), BM_CLICK, 0, 0);
    Eventually([&] { return Busy(main); }, 30000);
    const ULONGLONG busyFrom = GetTickCount64();
    while (Busy(main)) {
        const ULONGLONG marked = GetTickCount64();
        InvalidateRect(main, &corner, FALSE);
        while (GetUpdateRect(main, nullptr, FALSE) && IsWindow(main)) Sleep(1);
        const ULONGLONG painted = GetTickCount64();
        if (!Busy(main)) break;  // painted by the message loop, not the handler
        // Read without a message, which would wait for the next paint.
        wchar_t text[128] = {};
        InternalGetWindowText(label1, text, 128);
        stretches.push_back({static_cast<DWORD>(painted - marked), Narrow(text)});
    }
    const ULONGLONG end = GetTickCount64();

    std::vector<DWORD> ms;
    for (const Stretch& s : stretches) ms.push_back(s.ms);
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms.empty() ? 0 : ms[static_cast<std::size_t>(q * (ms.size() - 1))]; };
    const auto longest = std::max_element(stretches.begin(), stretches.end(),
                                          [](const Stretch& a, const Stretch& b) { return a.ms < b.ms; });
    const auto over = [&](DWORD limit) {
        return std::count_if(ms.begin(), ms.end(), [&](DWORD m) { return m > limit; });
    };
    std::printf("Activate all over %d addons: busy %.1f s (%.1f s from the click), %zu paints\n", addons,
                (end - busyFrom) / 1000.0, (end - begin) / 1000.0, ms.size());
    std::printf(
        "unpainted: median %lu ms, 99th percentile %lu ms, longest %lu ms; over 100 ms: %ld, over 200 ms: %ld\n",
        static_cast<unsigned long>(at(0.5)), static_cast<unsigned long>(at(0.99)),
        static_cast<unsigned long>(ms.empty() ? 0 : ms.back()), static_cast<long>(over(100)),
        static_cast<long>(over(200)));
    if (longest != stretches.end())
        std::printf("the longest ended with the label reading \"%s\"\n", longest->label.c_str());
    for (const Stretch& s : stretches)
        if (s.ms > 100) std::printf("  %lu ms, then \"%s\"\n", static_cast<unsigned long>(s.ms), s.label.c_str());
    PostMessageW(main, WM_CLOSE, 0, 0);
    (void)varnex.WaitForExit(30000);
    return 0;
}
