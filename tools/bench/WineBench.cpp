// Activate all and Deactivate all through the real shell under Wine (or on
// Windows), next to a bare loop of the same shell renames over the same
// files, measured in the same run.
//
//   varnex_wine_bench [N...]      default: 1000 10000
// The program's headers come first: the shell's header defines FO_RENAME
// and friends as macros.
#include "app/AddonManager.hpp"
#include "platform/win32/Win32Files.hpp"
#include "platform/win32/Win32Registry.hpp"
#include "platform/win32/Win32Shell.hpp"

#include <windows.h>
#include <shellapi.h>
#undef MessageBox

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace varnex;

namespace {

// Boxes are counted, never shown: a benchmark must not wait for anyone.
class QuietDesktop final : public Desktop {
public:
    int boxes = 0;
    int MessageBox(const Text&, const Text&, std::uint32_t) override { return ++boxes, kIdOk; }
    Text ShowOpenDialog(const FileDialogSetup&) override { return {}; }
    Text ShowSaveDialog(const FileDialogSetup&) override { return {}; }
    void KeepResponsive() override {}
    void EndProgram() override {}
};

double Seconds(const auto& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void MakeFile(const std::string& path) {
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000};

    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "varnex-bench-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    std::printf("%-16s %7s %12s %22s %7s\n", "action", "addons", "time", "bare SHFileOperationA", "ratio");
    for (const int n : sizes) {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i) {
            names.push_back("mod" + std::to_string(i));
            MakeFile(folder + "\\" + names.back() + ".pbx");
        }
        const double bareOn = Seconds([&] {
            for (const auto& name : names) ShellRename(folder + "/" + name + ".pbx", folder + "/" + name + ".pbo");
        });
        const double bareOff = Seconds([&] {
            for (const auto& name : names) ShellRename(folder + "/" + name + ".pbo", folder + "/" + name + ".pbx");
        });

        Win32Registry registry;
        Win32Files files;
        Win32Shell shell;
        QuietDesktop desktop;
        AddonManager app(Platform{registry, files, shell, desktop});
        app.AddonFolder = folder;
        app.OfficialAddons = BuildOfficialAddons();
        app.File1.SetPath(folder);
        app.File2.SetPath(folder);
        const double activate = Seconds([&] { app.AddonManager_Command6_Click(); });
        const double deactivate = Seconds([&] { app.AddonManager_Command5_Click(); });
        std::printf("%-16s %7d %9.0f ms %19.0f ms %6.2fx\n", "Activate all", n, activate * 1e3, bareOn * 1e3,
                    activate / bareOn);
        std::printf("%-16s %7d %9.0f ms %19.0f ms %6.2fx\n", "Deactivate all", n, deactivate * 1e3, bareOff * 1e3,
                    deactivate / bareOff);
        if (desktop.boxes) std::printf("(%d boxes)\n", desktop.boxes);
        for (const auto& name : names) DeleteFileA((folder + "\\" + name + ".pbx").c_str());
    }
    RemoveDirectoryA(folder.c_str());
    return 0;
}
