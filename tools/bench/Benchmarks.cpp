// Speed and memory of the main window's actions on large addon folders, each
// printed next to the bare file-system work it cannot avoid, measured in the
// same run on the same files. Native core over the emulated platform on a
// real folder.
//
//   varnex_bench [--quick | --lists | --switching N]
//     --quick         small folders only (CI smoke)
//     --lists         the favorites lists alone, at full size
//     --switching N   start-up and switching alone, over N addons (for a
//                     profiler, which would take hours over the rest)
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/AddonManager.hpp"
#include "app/GlobaleVariables.hpp"
#include "favorites/NameMatcher.hpp"
#include "platform/emulated/Emulated.hpp"

namespace fs = std::filesystem;
using namespace varnex;

namespace {

// Processor time of this process, user and system: unlike the time on the
// clock it is not stretched by the disk work of other programs, and the
// floors are measured the same way.
double ProcessorSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double Seconds(const std::function<void()>& work, int repeat = 1) {
    double best = 1e9;
    for (int i = 0; i < repeat; ++i) {
        const double start = ProcessorSeconds();
        work();
        best = std::min(best, ProcessorSeconds() - start);
    }
    return best;
}

// The shell with a stopwatch: the processor time spent in its renames
// while a handler runs is the part of the handler that is file-system work.
// It runs only when asked: its own two looks at the clock per rename would
// otherwise count against the handlers and not against their floors.
class TimedShell : public ShellApi {
public:
    explicit TimedShell(ShellApi& shell) : shell_(shell) {}
    int SHFileOperationA(const ShellFileOp& op) override {
        if (!timing) return shell_.SHFileOperationA(op);
        const double start = ProcessorSeconds();
        const int result = shell_.SHFileOperationA(op);
        inside += ProcessorSeconds() - start;
        return result;
    }
    bool ConfirmsDelete() const override { return shell_.ConfirmsDelete(); }
    bool timing = false;
    double inside = 0;

private:
    ShellApi& shell_;
};

// A game installation with `active` and `inactive` player addons of a few
// hundred bytes each, and a few official ones.
class Game {
public:
    Game(int active, int inactive, std::size_t commentsBytes = 0) {
        Text templ = (fs::temp_directory_path() / "varnex-bench-XXXXXX").string();
        root = ::mkdtemp(templ.data());
        addons = root / "Games" / "OFP" / "ADDONS";
        fs::create_directories(addons);
        fs::create_directories(root / "Games" / "OFP" / "Res" / "AddOns");
        const char body[300] = {};
        auto make = [&](const Text& name) {
            const int fd = ::open((addons / name).c_str(), O_WRONLY | O_CREAT, 0644);
            if (fd >= 0) {
                (void)!::write(fd, body, sizeof body);
                ::close(fd);
            }
        };
        for (const char* official : {"Data.pbo", "O.pbo", "XMS.pbo"}) make(official);
        for (int i = 0; i < active; ++i) make("addon" + std::to_string(i) + ".pbo");
        for (int i = 0; i < inactive; ++i) make("mod" + std::to_string(i) + ".pbx");
        Text comments;
        for (int i = 0; comments.size() < commentsBytes; ++i)
            comments += "//addon" + std::to_string(i) + "A comment of a player about this addon.\r\n";
        const int fd = ::open((addons / "Comments.txt").c_str(), O_WRONLY | O_CREAT, 0644);
        (void)!::write(fd, comments.data(), comments.size());
        ::close(fd);

        files = std::make_unique<platform::emulated::Files>(std::map<char, fs::path>{{'C', root}});
        shell = std::make_unique<platform::emulated::Shell>(*files);
        timedShell = std::make_unique<TimedShell>(*shell);
        registry.SetString(kGameKey, "Main", "C:\\Games\\OFP");
        registry.SetString(kExpansionKey, "Main", "C:\\Games\\OFP\\Res");
    }
    ~Game() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }

    std::unique_ptr<AddonManager> Start() {
        auto app = std::make_unique<AddonManager>(Platform{registry, *files, *timedShell, desktop});
        app->AddonManager_Form_Load();
        return app;
    }

    // The floor of a listing: the folder read from the disk with every
    // file's size, as the program first reads it.
    double ListingFloor() {
        return Seconds(
            [&] {
                std::vector<DirEntry> entries;
                DIR* dir = ::opendir(addons.c_str());
                while (const dirent* found = ::readdir(dir)) {
                    struct stat info {};
                    if (::fstatat(::dirfd(dir), found->d_name, &info, 0) == 0)
                        entries.push_back(
                            {.name = found->d_name, .folder = S_ISDIR(info.st_mode), .size = info.st_size});
                }
                ::closedir(dir);
            },
            3);
    }

    // The floor of switching: a bare loop of the same renames through the
    // emulated shell, over the same files in the order the lists show them,
    // there and back again.
    double RenameFloor(const char* from, const char* to) {
        std::vector<std::pair<Text, Text>> renames;
        for (const auto& entry : fs::directory_iterator(addons)) {
            const Text name = entry.path().filename().string();
            if (name.size() > 4 && name.compare(name.size() - 4, 4, from) == 0 && name != "Data.pbo" &&
                name != "O.pbo" && name != "XMS.pbo")
                renames.emplace_back(name, name.substr(0, name.size() - 4) + to);
        }
        std::sort(renames.begin(), renames.end());  // names all in lower case: the lists' order
        auto run = [&](bool back) {
            for (const auto& [a, b] : renames) {
                ShellFileOp op;
                op.wFunc = 4;
                op.pFrom = "C:\\Games\\OFP\\ADDONS/" + (back ? b : a) + Text(2, '\0');
                op.pTo = "C:\\Games\\OFP\\ADDONS/" + (back ? a : b) + Text(2, '\0');
                (void)shell->SHFileOperationA(op);
            }
        };
        const double there = Seconds([&] { run(false); });
        run(true);
        shell->calls.clear();
        return there;
    }

    fs::path root, addons;
    platform::emulated::Registry registry;
    std::unique_ptr<platform::emulated::Files> files;
    std::unique_ptr<platform::emulated::Shell> shell;
    std::unique_ptr<TimedShell> timedShell;
    platform::emulated::Desktop desktop;
};

struct Row {
    Text what;
    int n;
    double seconds;
    double floor;  // 0: none
};

void Print(const Row& row, const Row* previous) {
    std::printf("%-44s %7d %10.2f ms", row.what.c_str(), row.n, row.seconds * 1e3);
    if (row.floor > 0)
        std::printf(" %10.2f ms %6.2fx", row.floor * 1e3, row.seconds / row.floor);
    else
        std::printf(" %10s %7s", "-", "-");
    if (previous && previous->what == row.what && previous->seconds > 0) {
        const double sizes = double(row.n) / previous->n;
        std::printf(" %8.2f", (row.seconds / previous->seconds) / sizes);
        if (row.floor > 0 && previous->floor > 0) std::printf(" %8.2f", (row.floor / previous->floor) / sizes);
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const bool listsOnly = argc > 1 && std::strcmp(argv[1], "--lists") == 0;
    const bool switchingOnly = argc > 2 && std::strcmp(argv[1], "--switching") == 0;
    std::vector<int> sizes = quick ? std::vector<int>{100, 200} : std::vector<int>{1000, 10000, 32767};
    if (listsOnly) sizes.clear();
    if (switchingOnly) sizes = {std::max(2, std::atoi(argv[2]))};
    std::printf("%-44s %7s %13s %13s %7s %8s %8s\n", "action", "addons", "time", "floor", "ratio", "growth", "(floor)");
    std::printf(
        "(time and floor: processor time, user and system; growth: time ratio to the previous size\n"
        " divided by the size ratio, 1.00 is linear; the floor's own growth beside it)\n");

    std::vector<Row> rows;
    auto add = [&](Row row) {
        const Row* previous = nullptr;
        for (auto it = rows.rbegin(); it != rows.rend(); ++it)
            if (it->what == row.what) {
                previous = &*it;
                break;
            }
        Print(row, previous);
        rows.push_back(std::move(row));
    };

    for (const int n : sizes) {
        Game game(n / 2, n - n / 2);
        std::unique_ptr<AddonManager> app;
        const double startUp = Seconds([&] { app = game.Start(); });
        add({"start-up", n, startUp, game.ListingFloor()});
        add({"RefreshLists: choose OFP/Addons", n, Seconds([&] { app->AddonManager_Option1_Click(); }, 3),
             game.ListingFloor()});
        app->SelectedInactive.clear();
        const double activateFloor = game.RenameFloor(".pbx", ".pbo");
        add({"Activate all", n, Seconds([&] { app->AddonManager_Command6_Click(); }), activateFloor});
        const double deactivateFloor = game.RenameFloor(".pbo", ".pbx");
        add({"Deactivate all", n, Seconds([&] { app->AddonManager_Command5_Click(); }), deactivateFloor});
    }

    if (switchingOnly) return 0;
    if (!listsOnly) {
        const int n = quick ? 200 : 1000;
        Game game(n, 0, 1 << 20);
        // An addon with no entry yet: the lookup reads the whole text.
        const int fd = ::open((game.addons / "zzz.pbo").c_str(), O_WRONLY | O_CREAT, 0644);
        ::close(fd);
        auto app = game.Start();
        const int last = app->File1.ListCount() - 1;
        add({"click an addon, 1 MB comments text", n,
             Seconds(
                 [&] {
                     app->File1.SetListIndex(last);
                     (void)app->Text1.GetText();
                 },
                 5),
             0});
        app->Text1.SetText("A new comment");
        add({"Save comment, 1 MB comments text", n, Seconds([&] { app->AddonManager_Save_Click(); }, 5), 0});
    }

    {
        const int n = quick ? 300 : 32767;
        Game game(n, 0);
        auto app = game.Start();
        const Text list = "C:\\Games\\OFP\\favorites.txtf";
        game.desktop.dialogAnswers.push_back(list);
        add({"Save List", n, Seconds([&] { app->AddonManager_SaveFavorits_Click(); }), 0});
        game.desktop.dialogAnswers.push_back(list);
        game.timedShell->inside = 0;
        game.timedShell->timing = true;
        const double load = Seconds([&] { app->AddonManager_LoadFavorits_Click(); });
        const double renames = game.timedShell->inside;
        add({"Load List (deactivate all, then activate)", n, load, renames});
        std::printf("%-44s %7d %10.2f ms\n", "Load List beyond its renames", n, (load - renames) * 1e3);
        // The match alone, against the plain name-by-name search it replaces.
        std::vector<Text> names;
        Text listText;
        for (int i = 0; i < n; ++i) {
            names.push_back("addon" + std::to_string(i) + ".pbx");
            listText += names.back() + " ";
        }
        add({"Load List match, one pass", n, Seconds([&] { (void)NameMatcher(names).Occurs(listText); }), 0});
        add({"Load List match, plain searches", n, Seconds([&] {
                 int found = 0;
                 for (const Text& name : names) found += InStr(1, listText, name) != 0;
                 if (found != n) std::printf("plain search found %d\n", found);
             }),
             0});
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        std::printf("peak memory: %.1f MB\n", usage.ru_maxrss / 1024.0);
    }
    return 0;
}
