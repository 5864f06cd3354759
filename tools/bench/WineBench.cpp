// Activate all and Deactivate all through the real shell under Wine (or on
// Windows), next to a bare loop of the same shell renames over the same
// files, measured in the same run; and the start-up of varnex.exe over a
// game folder of many addons, next to a program that only opens a window,
// both started the same way, and the stages of the program's start. Built 32-bit like varnex.exe, so that the bare
// loop and the minimal programs go through the same Wine (WoW64 in a 64-bit
// prefix) as the program; tools/bench.sh runs it in both kinds of prefix.
//
//   varnex_wine_bench [N...] [--startup=ADDONS] [--rounds=R] [--program=EXE]
//                                 default: 1000 10000 --startup=1000 --rounds=7
// --program times the start-up of another build of varnex.exe (an earlier
// one, say) in the same session, against the same floors.
// The program's headers come first: the shell's header defines FO_RENAME
// and friends as macros.
#include "app/AddonManager.hpp"
#include "platform/win32/Win32Files.hpp"
#include "platform/win32/Win32Registry.hpp"
#include "platform/win32/Win32Shell.hpp"

#include <windows.h>
#include <shellapi.h>
#undef MessageBox

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

using namespace varnex;
using varnex::platform::win32::Win32Files;
using varnex::platform::win32::Win32Registry;
using varnex::platform::win32::Win32Shell;

namespace {

// Boxes are counted, never shown: a benchmark must not wait for anyone.
class QuietDesktop final : public Desktop {
public:
    int boxes = 0;
    int MessageBox(const Text&, const Text&, std::uint32_t) override { return ++boxes, kIdOk; }
    Text ShowOpenDialog(const FileDialogSetup&) override { return {}; }
    Text ShowSaveDialog(const FileDialogSetup&) override { return {}; }
    bool ResponsiveDue() override { return false; }
    void KeepResponsive() override {}
    void EndProgram() override {}
};

double Seconds(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time (user and system) this process has used so far, which
// the machine's other work does not stretch. (Wine reports no such time for
// another process, so start-up is timed on the wall clock only.)
double ProcessorSeconds() {
    FILETIME created, exited, system, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &system, &user)) return 0;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 1e-7;
    };
    return seconds(user) + seconds(system);
}

// Wall time and processor time of one piece of work.
struct Timing {
    double wall = 0, processor = 0;
};
Timing Time(const auto& work) {
    const double processor = ProcessorSeconds();
    const double wall = Seconds(work);
    return {wall, ProcessorSeconds() - processor};
}

void MakeFile(const std::string& path) {
    const HANDLE h =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    const char body[300] = {};
    WriteFile(h, body, sizeof body, &written, nullptr);
    CloseHandle(h);
}

int ShellRename(const std::string& from, const std::string& to) {
    std::string pFrom = from + std::string(2, '\0');
    std::string pTo = to + std::string(2, '\0');
    SHFILEOPSTRUCTA op{};
    op.wFunc = FO_RENAME;
    op.pFrom = pFrom.c_str();
    op.pTo = pTo.c_str();
    return SHFileOperationA(&op);
}

// A program built beside this one; a Unix path is reached through drive Z:.
std::string WindowsPath(std::string path) {
    if (path.front() == '/') path = "Z:" + path;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// The visible window of the process with `caption`, if it has one yet.
HWND VisibleWindowOf(DWORD processId, const char* caption) {
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, nullptr, caption));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == processId && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Closes a started program as through its frame, which makes Varnex write
// nothing, and lets go of it.
void CloseStarted(const PROCESS_INFORMATION& process, HWND window) {
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// The seconds from starting `program` until a window of it with `caption`
// is visible; the program is then closed.
std::optional<double> SecondsToWindow(const std::string& program, const char* caption) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = std::chrono::steady_clock::now();
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return std::nullopt;
    HWND window = nullptr;
    while (!(window = VisibleWindowOf(process.dwProcessId, caption)) &&
           WaitForSingleObject(process.hProcess, 1) != WAIT_OBJECT_0) {}
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    CloseStarted(process, window);
    if (!window) return std::nullopt;
    return seconds;
}

// Where one start of varnex.exe spends its time, in seconds from its
// creation: its first window made and its lists filled (a list tells when
// all its entries are new), as the window manager reports them to an event
// hook outside the program, and its main window shown, as found by looking.
// The hook's own messages cost the program a little, so these are timed in
// rounds of their own.
struct Stages {
    double windowMade = -1, listsFilled = -1, shown = -1;
};

struct StageWatch {
    Stages stages;
    DWORD start = 0;
};
StageWatch* watched = nullptr;

void CALLBACK OnStage(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG /*child*/, DWORD /*thread*/,
                      DWORD time) {
    if (!watched || !hwnd) return;
    Stages& s = watched->stages;
    const double at = static_cast<DWORD>(time - watched->start) * 1e-3;
    if (event == EVENT_OBJECT_CREATE && object == OBJID_WINDOW && s.windowMade < 0) s.windowMade = at;
    if (event == EVENT_OBJECT_REORDER && object == OBJID_CLIENT && s.shown < 0) s.listsFilled = at;
}

std::optional<Stages> StagesOfStart(const std::string& program, const char* caption) {
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        nullptr, &startup, &process))
        return std::nullopt;
    StageWatch watch;
    watched = &watch;
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_REORDER, nullptr, OnStage,
                                               process.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
    watch.start = GetTickCount();
    ResumeThread(process.hThread);
    HWND window = nullptr;
    while (!window && GetTickCount() - watch.start < 30000) {
        if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 1, QS_ALLINPUT) == WAIT_OBJECT_0) break;
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
        if ((window = VisibleWindowOf(process.dwProcessId, caption)))
            watch.stages.shown = static_cast<DWORD>(GetTickCount() - watch.start) * 1e-3;
    }
    // Events already on their way belong to this start.
    for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
    if (hook) UnhookWinEvent(hook);
    watched = nullptr;
    CloseStarted(process, window);
    if (!window) return std::nullopt;
    return watch.stages;
}

// The game's and the expansion's "Main" values in the 32-bit registry view,
// pointed at the benchmark's game folder (no expansion) for as long as this
// lives, and put back as they were afterwards.
class GameRegistration {
public:
    explicit GameRegistration(const std::string& gameFolder) {
        Set(kGame, gameFolder);
        Set(kExpansion, std::nullopt);
    }
    ~GameRegistration() {
        for (const auto& [key, value] : saved_) Set(key, value, false);
    }
    GameRegistration(const GameRegistration&) = delete;
    GameRegistration& operator=(const GameRegistration&) = delete;

private:
    static constexpr const char* kGame = "SOFTWARE\\Codemasters\\Operation Flashpoint";
    static constexpr const char* kExpansion = "SOFTWARE\\Codemasters\\Flashpoint Resistance";

    void Set(const char* path, const std::optional<std::string>& value, bool save = true) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS) {
            if (save) saved_.emplace_back(path, std::nullopt);
            if (!value) return;
            if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS | KEY_WOW64_32KEY, nullptr,
                                &key, nullptr) != ERROR_SUCCESS)
                return;
        } else if (save) {
            char old[1024] = {};
            DWORD size = sizeof old - 1;
            const bool had =
                RegQueryValueExA(key, "Main", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
            saved_.emplace_back(path, had ? std::optional<std::string>(old) : std::nullopt);
        }
        if (value)
            RegSetValueExA(key, "Main", 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                           static_cast<DWORD>(value->size() + 1));
        else
            RegDeleteValueA(key, "Main");
        RegCloseKey(key);
    }

    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Start-up of varnex.exe over a game folder of `addons` addons, half of them
// switched off, next to the two minimal window programs, in alternating rounds
// after one unmeasured start of each.
void StartUp(const std::string& folder, int addons, int rounds, const std::string& program) {
    const std::string game = folder + "\\game", gameAddons = game + "\\ADDONS";
    CreateDirectoryA(game.c_str(), nullptr);
    CreateDirectoryA(gameAddons.c_str(), nullptr);
    std::vector<std::string> files{gameAddons + "\\Comments.txt"};
    for (int i = 0; i < addons; ++i)
        files.push_back(gameAddons + "\\mod" + std::to_string(i) + (i % 2 ? ".pbx" : ".pbo"));
    for (const auto& file : files) MakeFile(file);

    const std::string varnex = WindowsPath(program.empty() ? std::string(VARNEX_EXE) : program),
                      minimal = WindowsPath(MINIMAL_WINDOW_EXE), styled = WindowsPath(STYLED_WINDOW_EXE);
    std::vector<double> varnexTimes, minimalTimes, styledTimes;
    std::vector<Stages> stages;
    {
        GameRegistration registration(game);
        for (int round = 0; round <= rounds; ++round) {
            const auto v = SecondsToWindow(varnex, "Varnex v0.98b");
            const auto m = SecondsToWindow(minimal, "Minimal window");
            const auto s = SecondsToWindow(styled, "Minimal window");
            if (!v || !m || !s) {
                std::printf("Start-up: %s showed no window\n", !v ? "varnex.exe" : "a minimal program");
                break;
            }
            if (round == 0) continue;
            varnexTimes.push_back(*v);
            minimalTimes.push_back(*m);
            styledTimes.push_back(*s);
        }
        for (int round = 0; round < rounds; ++round)
            if (const auto start = StagesOfStart(varnex, "Varnex v0.98b")) stages.push_back(*start);
    }
    if (!varnexTimes.empty()) {
        // A ratio is the median of each round's own ratio: the three starts
        // of a round follow each other closely, so the machine's other work
        // weighs on them more alike than on starts rounds apart. "best" is
        // the fastest start of each, the least disturbed.
        std::printf("%-16s %7s %12s %37s %7s %7s   (medians of %d rounds)\n", "start-up", "addons", "varnex.exe",
                    "floor", "ratio", "best", rounds);
        const auto best = [](const std::vector<double>& times) {
            return *std::min_element(times.begin(), times.end());
        };
        for (const auto& [floor, times] :
             {std::pair{"minimal window", &minimalTimes}, std::pair{"minimal window, visual styles", &styledTimes}}) {
            std::vector<double> ratios;
            for (std::size_t i = 0; i < varnexTimes.size(); ++i) ratios.push_back(varnexTimes[i] / (*times)[i]);
            std::printf("%-16s %7d %9.0f ms %37s %6.2fx %6.2fx\n", "to window shown", addons, Median(varnexTimes) * 1e3,
                        (std::to_string(static_cast<int>(Median(*times) * 1e3 + 0.5)) + " ms " + floor).c_str(),
                        Median(ratios), best(varnexTimes) / best(*times));
        }
    }
    if (!stages.empty()) {
        // A stage the hook did not see (a list box that does not tell) is
        // left out rather than counted as nought.
        const auto stage = [&](double Stages::*at) {
            std::vector<double> times;
            for (const auto& start : stages)
                if (start.*at >= 0) times.push_back(start.*at);
            return times.empty() ? std::string("not seen")
                                 : std::to_string(static_cast<int>(Median(times) * 1e3 + 0.5)) + " ms";
        };
        std::printf(
            "%-16s %7d   first window made %s, lists filled %s, window shown %s (medians of %zu hooked rounds)\n",
            "stages", addons, stage(&Stages::windowMade).c_str(), stage(&Stages::listsFilled).c_str(),
            stage(&Stages::shown).c_str(), stages.size());
    }
    for (const auto& file : files) DeleteFileA(file.c_str());
    RemoveDirectoryA(gameAddons.c_str());
    RemoveDirectoryA(game.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    int startUpAddons = 1000, rounds = 7;
    std::string program;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--startup=", 0) == 0)
            startUpAddons = std::atoi(arg.c_str() + 10);
        else if (arg.rfind("--program=", 0) == 0)
            program = arg.substr(10);
        else if (arg.rfind("--rounds=", 0) == 0)
            rounds = std::max(1, std::atoi(arg.c_str() + 9));
        else
            sizes.push_back(std::atoi(argv[i]));
    }
    if (argc == 1) sizes = {1000, 10000};

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "varnex-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    if (!sizes.empty())
        std::printf("%-16s %7s %12s %22s %7s %10s   (medians of rounds)\n", "action", "addons", "time",
                    "bare SHFileOperationA", "ratio", "processor");
    for (const int n : sizes) {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i) {
            names.push_back("mod" + std::to_string(i));
            MakeFile(folder + "\\" + names.back() + ".pbx");
        }
        Win32Registry registry;
        Win32Files files;
        Win32Shell shell;
        QuietDesktop desktop;
        AddonManager app(Platform{registry, files, shell, desktop});
        app.AddonFolder = folder;
        app.OfficialAddons = BuildOfficialAddons();
        app.File1.SetPath(folder);
        app.File2.SetPath(folder);
        // The bare loop and the program in alternating rounds: the disk and
        // the other programs of the machine weigh on a round's runs alike.
        // Times are medians; a ratio is the median of each round's own ratio,
        // in wall time and in this process's processor time.
        std::vector<Timing> bareOn, bareOff, activate, deactivate;
        for (int round = 0; round < (n <= 1000 ? 5 : 1); ++round) {
            bareOn.push_back(Time([&] {
                for (const auto& name : names) ShellRename(folder + "/" + name + ".pbx", folder + "/" + name + ".pbo");
            }));
            bareOff.push_back(Time([&] {
                for (const auto& name : names) ShellRename(folder + "/" + name + ".pbo", folder + "/" + name + ".pbx");
            }));
            activate.push_back(Time([&] { app.AddonManager_Command6_Click(); }));
            deactivate.push_back(Time([&] { app.AddonManager_Command5_Click(); }));
        }
        const auto print = [n](const char* action, const std::vector<Timing>& times,
                               const std::vector<Timing>& floors) {
            std::vector<double> wall, floorWall, wallRatios, processorRatios;
            for (std::size_t i = 0; i < times.size(); ++i) {
                wall.push_back(times[i].wall);
                floorWall.push_back(floors[i].wall);
                wallRatios.push_back(times[i].wall / floors[i].wall);
                processorRatios.push_back(times[i].processor / floors[i].processor);
            }
            std::printf("%-16s %7d %9.0f ms %19.0f ms %6.2fx %9.2fx\n", action, n, Median(wall) * 1e3,
                        Median(floorWall) * 1e3, Median(wallRatios), Median(processorRatios));
        };
        print("Activate all", activate, bareOn);
        print("Deactivate all", deactivate, bareOff);
        if (desktop.boxes) std::printf("(%d boxes)\n", desktop.boxes);
        for (const auto& name : names) DeleteFileA((folder + "\\" + name + ".pbx").c_str());
    }
    if (startUpAddons > 0) StartUp(folder, startUpAddons, rounds, program);
    RemoveDirectoryA(folder.c_str());
    return 0;
}
