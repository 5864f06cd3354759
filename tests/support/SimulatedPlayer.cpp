#include "support/SimulatedPlayer.hpp"

#include <functional>
#include <random>
#include <set>
#include <sstream>

#include <sys/stat.h>

#include "controls/OptionGroup.hpp"
#include "forms/Gate.hpp"
#include "support/Fixture.hpp"

namespace varnex::player {

namespace {

using testing::Emulation;
namespace fs = std::filesystem;
using Drive = std::map<Text, std::string>;  // path below C:\ as the disk spells it -> bytes, or "<folder>"

const Text kGame = "C:\\Games\\OFP\\ADDONS", kRes = "C:\\Games\\OFP\\Res\\AddOns", kMods = "C:\\Mods";
const Text kGameComments = kGame + "\\Comments.txt", kResComments = kRes + "\\Comments.txt";
const Text kList = "C:\\Lists\\fav.txtf", kNewList = "C:\\Lists\\new.txtf";
// Addon names none of which begins another, none inside the game's own
// names: a comment stored for one never reads as another's.
const std::vector<Text> kStems = {"alpha", "bravo", "charlie", "delta",  "echo", "foxtrot",
                                  "golf",  "hotel", "india",   "juliet", "kilo", "lima"};
const std::vector<Text> kOfficial = {"ABox.pbo", "Data.pbo", "Music.pbo"};
// Folders whose files the world changes; "????" stands for a name the code
// page does not hold. The world leaves alone a folder of information files
// only, whose addons lie elsewhere: a name the program keeps from another
// folder finds its namesake there.
const std::vector<Text> kFolders = {kGame, kRes, kMods, kMods + "\\Sub", kMods + "\\????"};
const Text kEmpty = kMods + "\\Empty";

// What the player types, and whether it reads back exactly as typed.
struct Typed {
    Text text, unheld;
    bool clean;
};
const std::vector<Typed> kTyped = {{"good", "", true},
                                   {"old tank", "", true},
                                   {"Fast one", "", true},
                                   {"", "", true},
                                   {"see http://ofp.info", "", false},
                                   {"ends in a slash/", "", false},
                                   {"a//b", "", false},
                                   // Lodz in Polish: the code page holds its o with an accent
                                   // (\xF3) and a d (\x64), not the L and z with their strokes.
                                   {"?\xF3\x64?", "U+0141 U+017A", false}};

const std::vector<Text> kSaveAnswers = {kList, kNewList, "", "C:\\Lists\\??.txtf"};
const std::vector<Text> kLoadAnswers = {kList, kNewList, "C:\\Lists\\gone.txtf", ""};

// Each act as a report names it, and how often it comes in a walk, in the
// order of Act: the world changes about once in nine steps, a folder goes
// about once in two hundred.
struct ActKind {
    const char* name;
    int weight;
};
const ActKind kActs[] = {{"click in the active list", 24},
                         {"click in the inactive list", 28},
                         {"double click in the active list", 4},
                         {"double click in the inactive list", 4},
                         {"option OFP/Addons", 8},
                         {"option OFP:R/Addons", 8},
                         {"option others", 10},
                         {"double click in the folder list", 18},
                         {"Activate", 16},
                         {"Deactivate", 16},
                         {"Activate all", 4},
                         {"Deactivate all", 4},
                         {"Delete inactive addon", 14},
                         {"typing in the comment box", 4},
                         {"a comment saved", 16},
                         {"Save List", 4},
                         {"Load List", 4},
                         {"Exit", 4},
                         {"the close box", 2},
                         {"a file vanishes", 4},
                         {"a file appears", 6},
                         {"a file is locked by the game", 2},
                         {"a file becomes read-only", 2},
                         {"a folder goes", 1},
                         {"the next folder listing fails", 2}};

Text Lower(Text s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
}

// A Windows path below C:\ as the drive's map spells it, folded to lower case.
Text Key(const Text& windowsPath) {
    Text rel = windowsPath.substr(3);
    for (char& c : rel)
        if (c == '\\') c = '/';
    return Lower(rel);
}

Text Parent(const Text& rel) { return rel.substr(0, rel.find_last_of('/')); }
Text NameOf(const Text& rel) { return rel.substr(rel.find_last_of("/\\") + 1); }
Text Stem(const Text& name) { return name.size() >= 4 ? name.substr(0, name.size() - 4) : Text(); }
Text Ext(const Text& name) { return Lower(name.size() >= 4 ? name.substr(name.size() - 4) : Text()); }

// The comment of `key` as the comments file holds it: from the key up to
// the next "//" or the end.
Text Lookup(const Text& text, const Text& key) {
    const std::size_t at = text.find(key);
    if (at == Text::npos) return {};
    const std::size_t from = at + key.size(), end = text.find("//", from);
    return text.substr(from, end == Text::npos ? Text::npos : end - from);
}

// Every file and folder of drive C: by its path below the root: a file as
// its inode, size and time of change, so that a rename keeps it and a
// rewrite does not; a folder as "<folder>".
Drive Snapshot(const fs::path& root) {
    Drive drive;
    const std::size_t skip = root.string().size() + 1;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, ec); it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const Text path = it->path().string();
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) continue;
        drive[path.substr(skip)] = S_ISDIR(st.st_mode) ? std::string("<folder>")
                                                       : std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) +
                                                             ":" + std::to_string(st.st_mtim.tv_nsec) + ":" +
                                                             std::to_string(st.st_mtim.tv_sec);
    }
    return drive;
}

// The name `pick` stands for among `names`: the one that scores highest for
// it, so that a step picks the same file or entry whatever other names came
// or went before it, and a shortened walk still means what it meant.
std::size_t Among(const std::vector<Text>& names, std::uint32_t pick) {
    std::size_t best = 0;
    std::uint64_t bestScore = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::uint64_t h = 1469598103934665603ull ^ pick;
        for (char c : Lower(names[i])) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        h ^= h >> 29, h *= 0xbf58476d1ce4e5b9ull, h ^= h >> 32;
        if (i == 0 || h > bestScore) best = i, bestScore = h;
    }
    return best;
}

// The answers of the boxes that offer to try again, as Windows numbers them.
constexpr int kRetry = 4, kTryAgain = 10, kContinue = 11;

struct Violation {
    std::string rule, detail;
};

class Game {
public:
    explicit Game(const World& world) : emu(world.shell), rng_(world.seed) {
        Install();
        // Windows asks before the recycle bin only where the player turned
        // its confirmation on: off by default since Windows 8.
        if (world.shell == platform::emulated::Shell::Kind::Windows) emu.shell->confirmsDelete = rng_() % 3 == 0;
        // Every press runs through the gate, as the window's do; while a walk
        // keeps the window answering, the player clicks and types on.
        gate_.SetListings([this] { return app_->File1.ListingStamp() + app_->File2.ListingStamp(); });
        gate_.SetSettle([this] { Shown(); });
        gate_.SetFailed([this](const std::string& what) { Flag("failed", "a handler failed: " + what); });
        emu.desktop.responsiveDue = [] { return true; };
        emu.desktop.onKeepResponsive = [this] { KeepInput(); };
        Launch();
        before_ = Snapshot(emu.root);
    }

    // Runs one step; the first check it fails.
    std::optional<Violation> Take(const Step& step, std::string* log) {
        log_ = log;
        if (over_) Launch(), before_ = Snapshot(emu.root);
        step_ = step, stepFolder_ = folder_, calls_ = emu.shell->calls.size();
        answerRng_.seed(step.answers), keepRng_.seed(step.answers ^ 0x9e3779b9u);
        answered_.clear(), cleared_.clear(), keptTyped_.reset(), retries_ = 0, kept_ = 0;
        bool ran = false;
        if (step.act >= Act::Vanish)
            ran = ChangeTheWorld();
        else
            gate_.Run([&] { ran = true, ran = Press(); });
        if (log_) *log_ += std::exchange(keptLog_, {});
        const Drive after = Snapshot(emu.root);
        std::optional<Violation> found;
        if (ran && step.act < Act::Vanish) found = Check(after);
        before_ = after;
        return found;
    }

    Emulation emu;

private:
    // ---------------------------------------------------------- the world

    void Write(const Text& path, const std::string& bytes) { emu.Write(path, bytes); }
    Text Pick(const std::vector<Text>& from, std::uint32_t n) { return from[n % from.size()]; }

    void Install() {
        emu.registry.SetString(kGameKey, "Main", "C:\\Games\\OFP\\");
        expansion_ = rng_() % 5 != 0;
        if (expansion_) emu.registry.SetString(kExpansionKey, "Main", "C:\\Games\\OFP\\Res");
        if (rng_() % 4 != 0) {
            emu.registry.SetString(kGameKey, "VARNX", kMods);
            registryOthers_ = kMods;
        }
        fs::create_directories(emu.files->HostPath(kGame));
        if (rng_() % 6 != 0) fs::create_directories(emu.files->HostPath(kRes));
        auto addons = [&](const Text& folder, int count) {
            for (int i = 0; i < count; ++i) {
                const Text stem = Pick(kStems, rng_());
                const Text base = folder + "\\" + stem;
                Write(base + (rng_() % 2 ? ".pbo" : ".pbx"), stem + std::to_string(rng_() % 1000));
                if (rng_() % 2) Write(base + ".txt", "/x/author" + stem);
            }
        };
        addons(kGame, 7);
        for (const Text& name : kOfficial) Write(kGame + "\\" + name, "official " + name);
        Write(kGameComments, "//" + Pick(kStems, rng_()) + "Kept//" + Pick(kStems, rng_()) + "From before");
        if (fs::exists(emu.files->HostPath(kRes))) {
            addons(kRes, 4);
            Write(kResComments, "//" + Pick(kStems, rng_()) + "Night");
        }
        addons(kMods, 3);
        addons(kMods + "\\Sub", 2);
        for (const Text& stem : kStems) {
            Write(kEmpty + "\\" + stem + ".txt", "/x/authorNobody");
            if (!fs::exists(emu.files->HostPath(kMods + "\\Sub\\" + stem + ".pbx")))
                Write(kMods + "\\Sub\\" + stem + ".txt", "/x/authorNobody");
        }
        addons(kMods + "\\????", 3);
        Write(kList, Pick(kStems, rng_()) + ".pbx " + Pick(kStems, rng_()) + ".pbx " + Pick(kStems, rng_()) + ".pbx ");
        Write("C:\\Games\\OFP\\flashpoint.cfg", "config");
        Write("C:\\Other\\readme.txt", "not an addon");
    }

    void Launch() {
        app_.reset();
        emu.desktop.ended = false;
        emu.desktop.onBox = [this](const platform::emulated::Desktop::Box& box) {
            emu.desktop.boxAnswers.push_front(Answer(box));
        };
        GlobaleVariables::SelectedPath.clear();
        folder_ = kGame;
        others_ = registryOthers_.size() > 2 ? registryOthers_ : "C:\\Games\\OFP";
        activeChoices_.clear();
        inactiveChoices_.clear();
        for (Notes* notes : {&gameNotes_, &resNotes_}) {
            const Text& path = notes->path;
            // A locked file is not read, where it is looked for at all.
            const bool lookedFor = notes == &gameNotes_ || (expansion_ && fs::is_directory(emu.files->HostPath(kRes)));
            notes->unreadable = lookedFor && locked_.count(Key(path)) > 0;
            notes->expect.clear();
            const Text text = emu.Read(path);
            // A comment ending in a slash, saved as typed, reads back whole
            // only while nothing follows it in the file.
            for (const Text& stem : kStems) {
                const Text found = Lookup(text, "//" + stem);
                notes->expect["//" + stem] = found.ends_with('/') ? std::nullopt : std::optional(found);
            }
        }
        app_ = emu.Launch();
        over_ = false;
    }

    // The files of the addon folders, as Windows paths.
    std::vector<Text> AddonFiles(bool withOfficial) {
        std::vector<Text> files;
        for (const Text& folder : kFolders) {
            std::error_code ec;
            for (const auto& e : fs::directory_iterator(emu.files->HostPath(folder), ec)) {
                const Text name = e.path().filename().string();
                const bool official =
                    folder == kGame && std::find(kOfficial.begin(), kOfficial.end(), name) != kOfficial.end();
                if (e.is_regular_file() && (withOfficial || !official)) files.push_back(folder + "\\" + name);
            }
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    bool ChangeTheWorld() {
        switch (step_.act) {
            case Act::Vanish: {
                // A quarter of the time the addon the player last clicked,
                // half the time a file of the folder the window shows.
                auto files = AddonFiles(false);
                if (const Text last = folder_ + "\\" + clicked_;
                    step_.choice % 4 == 0 && !clicked_.empty() && fs::exists(emu.files->HostPath(last)))
                    files = {last};
                else if (step_.choice % 2)
                    std::erase_if(
                        files, [&](const Text& f) { return !EqualIgnoringCase(f.substr(0, f.rfind('\\')), folder_); });
                if (files.empty()) return false;
                const Text path = files[Among(files, step_.pick)];
                Say("gone: " + path);
                fs::remove(emu.files->HostPath(path));
                return true;
            }
            case Act::Appear: {
                const Text path = Pick(kFolders, step_.pick) + "\\" + Pick(kStems, step_.choice) +
                                  Pick({".pbo", ".pbx", ".txt"}, step_.answers);
                Say("appears: " + path);
                Write(path, "new");
                return true;
            }
            case Act::Lock:
            case Act::WriteProtect: {
                const auto files = AddonFiles(true);
                if (files.empty()) return false;
                const Text path = files[Among(files, step_.pick)];
                const bool lock = step_.act == Act::Lock;
                Say((lock ? "locked: " : "read-only: ") + path);
                lock ? emu.files->Lock(path) : emu.files->Protect(path);
                (lock ? locked_ : protected_).insert(Key(path));
                return true;
            }
            case Act::FolderGoes: {
                const Text folder = Pick({kMods + "\\Sub", kEmpty, kMods + "\\????", kMods, kRes}, step_.pick);
                Say("folder gone: " + folder);
                fs::remove_all(emu.files->HostPath(folder));
                return true;
            }
            default:
                emu.files->FailOn(platform::emulated::FileOp::ListFolder, 1, errc::kAccessDenied);
                Say("the next listing fails");
                return true;
        }
    }

    // ---------------------------------------------------------- the player

    void Say(const std::string& what) {
        if (log_) *log_ = what;
    }
    void Flag(const std::string& rule, const std::string& detail) {
        if (!pending_) pending_ = Violation{rule, detail};
    }

    // The player's answer to a box, among the buttons it has. Trying again
    // is given up after a few times, as a player would.
    int Answer(const platform::emulated::Desktop::Box& box) {
        auto one = [&](std::initializer_list<int> answers) { return answers.begin()[answerRng_() % answers.size()]; };
        auto retrying = [&](int again, std::initializer_list<int> others) {
            if (retries_ < 3 && answerRng_() % 2 == 0) return ++retries_, again;
            return one(others);
        };
        int answer = kIdOk;
        if (box.caption == "Delete File" || box.caption == "Confirm file deletion")
            answer = one({kIdYes, kIdNo});
        else if (box.caption == "Replace or Skip Files")
            answer = one({platform::emulated::Shell::kReplace, platform::emulated::Shell::kKeepBoth, kIdCancel});
        else if (box.caption == "File In Use")
            answer = retrying(platform::emulated::Shell::kTryAgain, {kIdCancel});
        else
            switch (box.style & 0xF) {
                case 1:
                    answer = one({kIdOk, kIdCancel});
                    break;
                case 3:
                    answer = one({kIdYes, kIdNo, kIdCancel});
                    break;
                case 4:
                    answer = one({kIdYes, kIdNo});
                    break;
                case 5:
                    answer = retrying(kRetry, {kIdCancel});
                    break;
                case 6:
                    answer = retrying(kTryAgain, {kIdCancel, kContinue});
                    break;
                default:
                    break;
            }
        answered_.push_back({box.style, answer});
        return answer;
    }

    static bool Takes(const Control& control) { return TakesInput(control); }
    std::vector<Text> FolderLines() const {
        std::vector<Text> paths;
        for (const FolderLine& line : app_->Dir1.ReadLines()) paths.push_back(line.path);
        return paths;
    }

    // Input the player gives while a walk keeps the window answering: a
    // click in a list, a double click on the folder list, typing. The gate
    // keeps it for when the handler has ended; it may run only while what
    // the player aimed at still stands, which the player tells by himself.
    void KeepInput() {
        if (over_ || kept_ >= 4 || keepRng_() % 4) return;
        AddonManager& app = *app_;
        const std::uint32_t pick = keepRng_(), kind = keepRng_() % 7;
        auto keep = [&](const std::string& what, std::function<void()> action, Aim aim) {
            ++kept_;
            keptLog_ += "; kept: " + what;
            gate_.Run(
                [this, action = std::move(action)] {
                    if (!over_) action();
                },
                std::move(aim));
        };
        if (kind < 2) {
            FileListBox& list = kind == 0 ? app.File1 : app.File2;
            if (!Takes(list) || list.ListCount() == 0) return;
            const auto names = testing::Names(list);
            const int at = static_cast<int>(Among(names, pick));
            const Text name = names[static_cast<std::size_t>(at)];
            std::set<Text>& choices = kind == 0 ? activeChoices_ : inactiveChoices_;
            keep(
                "click on " + name,
                [this, &list, &choices, at, name] {
                    if (at < list.ListCount() && list.List(at) != name)
                        Flag("kept-aim", "a click kept on " + name + " selected " + list.List(at));
                    choices.insert(Lower(name));
                    list.SetListIndex(at);
                },
                list.AimAt(at, name));
        } else if (kind == 6) {
            // An option: it runs while the option still takes input.
            const int which = static_cast<int>(pick % 3);
            OptionButton* const options[] = {&app.Option1, &app.Option2, &app.Option3};
            if (!Takes(*options[which])) return;
            keep(
                "option " + std::to_string(which + 1), [this, which] { Choose(which); },
                Aim{[option = options[which]] { return Takes(*option); }});
        } else if (kind < 5) {
            // Often two double clicks in a row, the second from where the
            // list stood before the first ran.
            if (!Takes(app.Dir1)) return;
            const auto paths = FolderLines();
            for (std::uint32_t n = 0; n <= (pick & 1); ++n) {
                const Text path = paths[Among(paths, pick + n)], from = app.Dir1.Path();
                keep(
                    "double click in the folder list: " + path,
                    [this, path, from] {
                        DirListBox& dir = app_->Dir1;
                        if (!Takes(dir) || dir.Path() != from)
                            Flag("kept-aim", "a double click kept on the folder list at " + from +
                                                 " ran after the list " +
                                                 (Takes(dir) ? "moved to " + dir.Path() : Text("was hidden")));
                        Move(path);
                    },
                    app.Dir1.AimHere());
            }
        } else if (kind == 5) {
            if (!Takes(app.Text1)) return;
            const Typed& typed = kTyped[pick % kTyped.size()];
            // Typing kept in the same wait is typed over the typing before it.
            const Text under = keptTyped_ ? *keptTyped_ : app.Text1.GetText();
            keptTyped_ = typed.text;
            keep(
                "typing \"" + typed.text + "\"",
                [this, typed, under] {
                    TextBox& box = app_->Text1;
                    if (box.GetText() != under)
                        Flag("kept-aim", "typing kept over \"" + under + "\" replaced \"" + box.GetText() + "\"");
                    box.SetTyped(typed.text, typed.unheld);
                },
                app.Text1.AimOver(under));
        }
    }

    void Move(const Text& path) {
        if (std::find(seen_.begin(), seen_.end(), path) == seen_.end()) seen_.push_back(path);
        if (path != app_->Dir1.Path()) folder_ = others_ = path;
        app_->Dir1.SetPath(path);
    }

    bool Click(FileListBox& list, bool twice, std::set<Text>& choices) {
        if (!Takes(list) || list.ListCount() == 0) return false;
        const int at = static_cast<int>(Among(testing::Names(list), step_.pick));
        const Text name = list.List(at);
        Say(Describe(step_) + ": " + name);
        choices.insert(Lower(name));
        if (twice) {
            list.Highlight(at);
            list.DblClick();
        } else {
            list.SetListIndex(at);
        }
        clicked_ = name;
        return true;
    }

    // One of the three folder options: the game's, the expansion's, others.
    bool Choose(int which) {
        OptionButton* const options[] = {&app_->Option1, &app_->Option2, &app_->Option3};
        OptionButton& option = *options[which];
        if (!Takes(option)) return false;
        for (OptionButton* o : options) o->SetValue(o == &option);
        // A kept choice clears them after the step's own handler used them.
        for (const auto* choices : {&activeChoices_, &inactiveChoices_})
            cleared_.insert(choices->begin(), choices->end());
        activeChoices_.clear();
        inactiveChoices_.clear();
        folder_ = which == 0 ? kGame : which == 1 ? kRes : others_;
        option.Click();
        return true;
    }

    bool Press(CommandButton& button) {
        if (!Takes(button)) return false;
        button.Click();
        return true;
    }

    bool Press() {
        AddonManager& app = *app_;
        Say(Describe(step_));
        dialog_.clear();
        bool ran = true;
        switch (step_.act) {
            case Act::ClickActive:
                ran = Click(app.File1, false, activeChoices_);
                break;
            case Act::ClickInactive:
                ran = Click(app.File2, false, inactiveChoices_);
                break;
            case Act::OpenActive:
                ran = Click(app.File1, true, activeChoices_);
                break;
            case Act::OpenInactive:
                ran = Click(app.File2, true, inactiveChoices_);
                break;
            case Act::ChooseGame:
            case Act::ChooseExpansion:
            case Act::ChooseOthers:
                ran = Choose(static_cast<int>(step_.act) - static_cast<int>(Act::ChooseGame));
                break;
            case Act::MoveFolder: {
                if (!Takes(app.Dir1)) return false;
                for (const Text& line : FolderLines())
                    if (std::find(seen_.begin(), seen_.end(), line) == seen_.end()) seen_.push_back(line);
                // A quarter of the time the folder of information files, once
                // seen: the addon picked before stays picked there.
                const bool trap = step_.choice % 4 == 0 && std::find(seen_.begin(), seen_.end(), kEmpty) != seen_.end();
                const Text path = trap ? kEmpty : seen_[Among(seen_, step_.pick)];
                Say("double click in the folder list: " + path);
                Move(path);
                break;
            }
            case Act::Activate:
                ran = Press(app.Command3);
                break;
            case Act::Deactivate:
                ran = Press(app.Command2);
                break;
            case Act::ActivateAll:
                ran = Press(app.Command6);
                break;
            case Act::DeactivateAll:
                ran = Press(app.Command5);
                break;
            case Act::Delete:
                ran = Press(app.Command1);
                break;
            case Act::Type: {
                if (!Takes(app.Text1)) return false;
                const Typed& typed = kTyped[step_.choice % kTyped.size()];
                app.Text1.SetTyped(typed.text, typed.unheld);
                break;
            }
            case Act::Comment:
                return SaveComment();
            case Act::SaveList:
            case Act::LoadList: {
                dialog_ = Pick(step_.act == Act::SaveList ? kSaveAnswers : kLoadAnswers, step_.choice);
                Say(Describe(step_) + ": " + (dialog_.empty() ? "cancelled" : dialog_));
                listBefore_ = emu.Read(dialog_.empty() ? kList : dialog_);
                shownActive_.clear();
                for (const auto& entry : app.File1.Entries())
                    if (!IsOfficial(app.OfficialAddons, entry.name))
                        shownActive_.insert(Lower(Stem(entry.name)) + ".pbx");
                emu.desktop.dialogAnswers = {dialog_};
                (step_.act == Act::SaveList ? app.SaveFavorits : app.LoadFavorits).Click();
                emu.desktop.dialogAnswers.clear();
                break;
            }
            case Act::Exit:
                if (!Takes(app.Command4)) return false;
                if (Held(others_)) registryOthers_ = others_;
                app.Command4.Click();
                over_ = emu.desktop.ended;
                break;
            case Act::Close:
                over_ = app.AddonManager_Form_QueryUnload();
                break;
            default:
                break;
        }
        if (!ran || over_) return ran;
        // A walk leaves its last name selected where the list is empty.
        if (step_.act == Act::DeactivateAll || step_.act == Act::ActivateAll || step_.act == Act::LoadList)
            for (const auto& [path, bytes] : before_)
                if (Parent(Lower(path)) == Key(stepFolder_))
                    (Ext(path) == ".pbo" ? activeChoices_ : inactiveChoices_).insert(Lower(NameOf(path)));
        return true;
    }

    // The window shows the lists once a handler is done: the entries it
    // highlights are what the move buttons act on.
    void Shown() {
        if (over_) return;
        AddonManager& app = *app_;
        for (auto [list, choices] : {std::pair{&app.File1, &activeChoices_}, std::pair{&app.File2, &inactiveChoices_}})
            if (const int at = list->ListIndex(); at >= 0) choices->insert(Lower(list->List(at)));
    }

    // Which comments text a comment saved now goes to: the game's or the
    // expansion's, or none (another folder, or a file not read at start-up).
    struct Notes {
        Text path;
        std::map<Text, std::optional<Text>> expect;  // key -> what it reads back as; none: not known
        bool unreadable = false;
    };
    Notes* NotesHere() {
        Notes* notes = folder_ == kGame ? &gameNotes_ : folder_ == kRes ? &resNotes_ : nullptr;
        return notes && !notes->unreadable ? notes : nullptr;
    }

    bool SaveComment() {
        AddonManager& app = *app_;
        const bool inactive = step_.choice % 2 == 1;
        if (!Click(inactive ? app.File2 : app.File1, false, inactive ? inactiveChoices_ : activeChoices_)) return false;
        if (!Takes(app.Text1) || !Takes(app.Save)) return true;
        const Typed& typed = kTyped[(step_.choice / 2) % kTyped.size()];
        Say("comment for " + clicked_ + ": \"" + typed.text + "\"");
        answered_.clear();
        app.Text1.SetTyped(typed.text, typed.unheld);
        app.Save.Click();
        Notes* notes = NotesHere();
        const bool refused = app.Text1.GetText() == "No save possible";
        if (!notes) {
            if (!refused)
                pending_ = Violation{"note-place", "a comment was kept for a folder whose notes are not kept"};
            return true;
        }
        const Text key = "//" + Stem(clicked_);
        if (!typed.clean) {
            notes->expect[key] = std::nullopt;
            return true;
        }
        if (refused) {
            pending_ = Violation{"note-place", "Save comment refused a comment of " + folder_};
            return true;
        }
        bool stored = true, known = true;
        for (const auto& [style, answer] : answered_) {
            if ((style & 0xF) == 4)
                stored = stored && answer == kIdYes;
            else
                known = false;
        }
        if (!known)
            notes->expect[key] = std::nullopt;
        else if (stored)
            notes->expect[key] = typed.text;
        return true;
    }

    // ------------------------------------------------------------ checks

    bool Official(const Text& rel) const {
        return Parent(rel) == Key(kGame) &&
               std::any_of(kOfficial.begin(), kOfficial.end(), [&](const Text& n) { return Lower(n) == NameOf(rel); });
    }

    std::optional<Violation> Check(const Drive& after) {
        AddonManager& app = *app_;
        if (pending_) return std::exchange(pending_, std::nullopt);
        if (emu.desktop.ended && step_.act != Act::Exit) return Violation{"ended", "the program ended without Exit"};
        if (!emu.files->notHeld.empty())
            return Violation{"not-held", "a path the code page does not hold was used: " + emu.files->notHeld.front()};
        for (std::size_t i = calls_; i < emu.shell->calls.size(); ++i) {
            Text from = emu.shell->calls[i].pFrom.c_str();
            if (const auto slash = from.find_last_of('/'); slash != Text::npos) from[slash] = '\\';
            if (locked_.count(Key(from)) && fs::exists(emu.files->HostPath(from)))
                return Violation{"held-to-shell", "the shell was handed " + from + ", which the game holds open"};
        }
        if (emu.files->OpenHandles() != 0) return Violation{"handles", "a file was left open"};
        if (!over_ && (app.Busy || app.FavoritesBusy)) return Violation{"flags", "a busy flag was left set"};
        if (!over_ && app.File1.Path() != folder_)
            return Violation{"folder", "the lists show " + app.File1.Path() + ", the player chose " + folder_};
        if (auto wrong = CheckDrive(after)) return wrong;
        if (step_.act == Act::Exit) return CheckNotes(after);
        return std::nullopt;
    }

    // Every change to the drive, against what the step may change.
    bool Chosen(const std::set<Text>& choices, const Text& name) const {
        return choices.count(name) || cleared_.count(name);
    }

    std::optional<Violation> CheckDrive(const Drive& after) {
        std::vector<Text> gone, added, changed;
        auto fold = [](const Drive& drive) {
            std::map<Text, std::pair<Text, std::string>> folded;
            for (const auto& [path, bytes] : drive) folded[Lower(path)] = {path, bytes};
            return folded;
        };
        const auto was = fold(before_), is = fold(after);
        for (const auto& [key, entry] : was) {
            const auto now = is.find(key);
            if (now == is.end())
                gone.push_back(key);
            else if (now->second.second != entry.second)
                changed.push_back(key);
        }
        for (const auto& [key, entry] : is)
            if (!was.count(key)) added.push_back(key);
        if (gone.empty() && added.empty() && changed.empty()) return std::nullopt;
        for (const auto& list : {gone, added, changed})
            for (const Text& rel : list)
                if (Official(rel)) return Violation{"official", "an official archive changed: " + rel};

        const Text here = Key(stepFolder_);
        const Act act = step_.act;
        // Renames: an addon's other name, the same bytes, in the folder shown.
        auto renamed = [&](const Text& from, Text& to) {
            if (Parent(from) != here || (Ext(from) != ".pbo" && Ext(from) != ".pbx")) return false;
            to = from.substr(0, from.size() - 1) + (Ext(from) == ".pbo" ? "x" : "o");
            return std::find(added.begin(), added.end(), to) != added.end() && was.at(from).second == is.at(to).second;
        };
        std::vector<Text> unexplained;
        std::set<Text> explained;
        int renames = 0;
        for (const Text& from : gone) {
            Text to;
            const bool activating = Ext(from) == ".pbx";
            if (renamed(from, to)) {
                const bool one = act == Act::Activate || act == Act::Deactivate;
                const bool may =
                    (act == Act::Activate && activating && Chosen(inactiveChoices_, NameOf(from))) ||
                    (act == Act::Deactivate && !activating && Chosen(activeChoices_, NameOf(from))) ||
                    (act == Act::ActivateAll && activating) || (act == Act::DeactivateAll && !activating) ||
                    (act == Act::LoadList && (!activating || Lower(listBefore_).find(NameOf(from)) != Text::npos));
                if (may && (!one || ++renames == 1)) {
                    explained.insert(from), explained.insert(to);
                    continue;
                }
                return Violation{"rename", "renamed " + from + " by " + Describe(step_)};
            }
            if (act == Act::Delete && Parent(from) == here) {
                if (Ext(from) == ".pbx" && Chosen(inactiveChoices_, NameOf(from))) {
                    explained.insert(from);
                    continue;
                }
                const Text addon = from.substr(0, from.size() - 4) + ".pbx";
                if (Ext(from) == ".txt") {
                    if (!Chosen(inactiveChoices_, NameOf(addon)))
                        return Violation{"companion", "removed " + from + ", the information file of no addon chosen"};
                    if (!was.count(addon))
                        return Violation{"companion",
                                         "removed " + from + " though its addon " + addon + " was not there"};
                    explained.insert(from);
                    continue;
                }
            }
            unexplained.push_back("removed " + from);
        }
        for (const Text& rel : added)
            if (!explained.count(rel)) unexplained.push_back("made " + rel);
        for (const Text& rel : changed) unexplained.push_back("changed " + rel);
        // What Exit and Save List write.
        std::erase_if(unexplained, [&](const Text& what) {
            const Text rel = what.substr(what.find(' ') + 1);
            if (what.starts_with("removed")) return false;
            if (act == Act::Exit) return rel == Key(kGameComments) || rel == Key(kResComments);
            return act == Act::SaveList && !dialog_.empty() && rel == Key(dialog_);
        });
        if (!unexplained.empty()) return Violation{"touched", unexplained.front() + " by " + Describe(step_)};
        if (act == Act::SaveList && !dialog_.empty() && is.count(Key(dialog_)) &&
            (!was.count(Key(dialog_)) || was.at(Key(dialog_)).second != is.at(Key(dialog_)).second))
            return CheckList(emu.Read(dialog_));
        return std::nullopt;
    }

    // A list written holds the non-official addons the active list showed,
    // each by its inactive name; a folder the code page does not hold has
    // no list to write.
    std::optional<Violation> CheckList(const Text& list) {
        if (!Held(stepFolder_))
            return Violation{"list", "a list was written for the folder " + stepFolder_ + ", which cannot be read"};
        std::multiset<Text> written;
        std::istringstream words(list);
        for (Text word; words >> word;) written.insert(Lower(word));
        if (written != shownActive_)
            return Violation{"list", "the list written holds \"" + list + "\" for the folder " + stepFolder_};
        return std::nullopt;
    }

    // After Exit every note saved reads back; a file Exit could not write
    // is as it was.
    std::optional<Violation> CheckNotes(const Drive& after) {
        for (Notes* notes : {&gameNotes_, &resNotes_}) {
            const Text& path = notes->path;
            const Text key = Key(path);
            auto find = [&](const Drive& drive) {
                const auto at =
                    std::find_if(drive.begin(), drive.end(), [&](const auto& e) { return Lower(e.first) == key; });
                return at == drive.end() ? std::nullopt : std::optional(at->second);
            };
            const auto was = find(before_), is = find(after);
            const bool blocked = notes->unreadable || locked_.count(key) || protected_.count(key) ||
                                 !fs::is_directory(emu.files->HostPath(path.substr(0, path.rfind('\\')))) ||
                                 (notes == &resNotes_ && !expansion_);
            if (blocked) {
                if (was != is) return Violation{"notes", path + " changed though it could not be written"};
                continue;
            }
            if (!over_ && was == is) continue;
            const Text text = emu.Read(path);
            for (const auto& [k, expected] : notes->expect)
                if (expected && Lookup(text, k) != *expected)
                    return Violation{"notes", path + " reads back \"" + Lookup(text, k) + "\" for " + k.substr(2) +
                                                  ", saved as \"" + *expected + "\""};
        }
        return std::nullopt;
    }

    std::mt19937 rng_;
    std::mt19937 answerRng_, keepRng_;
    forms::Gate gate_;
    int kept_ = 0;
    std::optional<Text> keptTyped_;
    std::string keptLog_;
    std::unique_ptr<AddonManager> app_;
    Drive before_;
    Step step_{};
    std::string* log_ = nullptr;
    bool over_ = false, expansion_ = true;
    Text folder_, stepFolder_, others_, registryOthers_, clicked_, dialog_, listBefore_;
    std::multiset<Text> shownActive_;
    std::set<Text> activeChoices_, inactiveChoices_, cleared_, locked_, protected_;
    std::vector<Text> seen_;
    std::vector<std::pair<std::uint32_t, int>> answered_;
    int retries_ = 0;
    std::size_t calls_ = 0;
    Notes gameNotes_{kGameComments, {}}, resNotes_{kResComments, {}};
    std::optional<Violation> pending_;
};

}  // namespace

std::string Describe(const Step& step) { return kActs[static_cast<int>(step.act)].name; }

std::vector<Step> Walk(std::uint32_t seed, int steps) {
    std::vector<int> weights;
    for (const ActKind& act : kActs) weights.push_back(act.weight);
    std::mt19937 rng(seed * 2654435761u + 1);
    std::discrete_distribution<int> acts(weights.begin(), weights.end());
    std::vector<Step> walk;
    walk.reserve(static_cast<std::size_t>(steps));
    // A player often acts on what he just clicked or just saw change: a
    // third of the steps follow from the one before.
    auto follows = [&](Act last) -> std::optional<Act> {
        auto one = [&](std::initializer_list<Act> acts) { return std::vector<Act>(acts)[rng() % acts.size()]; };
        switch (last) {
            case Act::ClickInactive:
                return one({Act::Delete, Act::Activate, Act::MoveFolder, Act::Vanish});
            case Act::ClickActive:
                return one({Act::Deactivate, Act::MoveFolder, Act::Lock, Act::Comment});
            case Act::MoveFolder:
                return one({Act::Delete, Act::Activate, Act::Deactivate, Act::SaveList});
            case Act::Vanish:
            case Act::Lock:
                return one({Act::Delete, Act::Activate, Act::Deactivate, Act::ActivateAll});
            default:
                return std::nullopt;
        }
    };
    // Now and then a habit: an addon picked among the others, the folder
    // of information files opened, Delete pressed there.
    const Act habit[] = {Act::ChooseOthers, Act::ClickInactive, Act::MoveFolder, Act::Delete};
    std::size_t inHabit = std::size(habit);
    while (walk.size() < static_cast<std::size_t>(steps)) {
        if (inHabit == std::size(habit) && rng() % 100 == 0) inHabit = 0;
        const auto next = walk.empty() || rng() % 3 != 0 ? std::nullopt : follows(walk.back().act);
        Step step{inHabit < std::size(habit) ? habit[inHabit++] : next ? *next : static_cast<Act>(acts(rng))};
        step.pick = static_cast<std::uint32_t>(rng());
        step.choice = static_cast<std::uint32_t>(rng());
        step.answers = static_cast<std::uint32_t>(rng());
        if (inHabit == 3) step.choice &= ~3u;
        walk.push_back(step);
    }
    return walk;
}

namespace {

std::optional<Failure> PlayLogged(const World& world, const std::vector<Step>& steps, std::vector<std::string>* log) {
    Game game(world);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::string said;
        auto found = game.Take(steps[i], log ? &said : nullptr);
        if (log) log->push_back(said);
        if (found) return Failure{static_cast<int>(i), found->rule, found->detail};
    }
    return std::nullopt;
}

}  // namespace

std::optional<Failure> Play(const World& world, const std::vector<Step>& steps) {
    return PlayLogged(world, steps, nullptr);
}

std::vector<Step> Shorten(const World& world, std::vector<Step> steps, const Failure& failure, int budget) {
    steps.resize(static_cast<std::size_t>(failure.step) + 1);
    // Takes out ever smaller runs of steps while the same check still fails,
    // cutting the walk at its new failing step each time.
    for (std::size_t chunk = steps.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
        bool progress = true;
        while (progress && budget > 0) {
            progress = false;
            for (std::size_t at = 0; at < steps.size() && budget > 0;) {
                std::vector<Step> fewer(steps.begin(), steps.begin() + static_cast<std::ptrdiff_t>(at));
                fewer.insert(fewer.end(),
                             steps.begin() + static_cast<std::ptrdiff_t>(std::min(at + chunk, steps.size())),
                             steps.end());
                --budget;
                if (const auto still = Play(world, fewer); still && still->rule == failure.rule) {
                    fewer.resize(static_cast<std::size_t>(still->step) + 1);
                    steps = std::move(fewer);
                    progress = true;
                } else {
                    at += chunk;
                }
            }
        }
    }
    return steps;
}

std::string Report(const World& world, const std::vector<Step>& shortest, const Failure& first, int firstSteps) {
    std::vector<std::string> log;
    const auto failure = PlayLogged(world, shortest, &log);
    std::ostringstream out;
    const bool wine = world.shell == platform::emulated::Shell::Kind::Wine;
    out << "seed " << world.seed << " on " << (wine ? "Wine" : "Windows") << "'s shell: after step " << first.step + 1
        << " of " << firstSteps << ", " << first.rule << ": " << first.detail
        << "\nshortest sequence that still fails (" << shortest.size() << " steps):\n";
    for (std::size_t i = 0; i < shortest.size(); ++i) out << "  " << i + 1 << ". " << log[i] << "\n";
    if (failure) out << "  -> " << failure->rule << ": " << failure->detail << "\n";
    return out.str();
}

}  // namespace varnex::player
