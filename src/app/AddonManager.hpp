// The main window: its controls, its state and its event handlers. The
// handlers are defined in the folder of the subsystem they belong to.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "app/LeftAsTheyWere.hpp"
#include "comments/CommentsText.hpp"
#include "controls/Controls.hpp"
#include "info/AddonInfo.hpp"
#include "platform/FileNumbers.hpp"
#include "platform/Filemanager.hpp"
#include "platform/Platform.hpp"
#include "platform/RegAccess.hpp"

namespace varnex {

inline constexpr const char* kProgramTitle = "VARNX";
inline constexpr const char* kGameKey = "SOFTWARE\\Codemasters\\Operation Flashpoint";
inline constexpr const char* kExpansionKey = "SOFTWARE\\Codemasters\\Flashpoint Resistance";

// The game's own addon file names, three lists joined: 68 names.
Text BuildOfficialAddons();

// Official by the substring test: anywhere inside the official names,
// letter case counting.
bool IsOfficial(const Text& officialAddons, const Text& name);
// The last character replaced by "o" (active) or "x" (inactive).
Text ActiveName(const Text& name);
Text InactiveName(const Text& name);
// An addon is switched by changing the last letter of its name, which must
// therefore be one byte: a name that ends in a letter of two or more bytes
// (a Japanese letter, or any letter outside ASCII under UTF-8) cannot be
// switched that way, nor its information file found by cutting its last
// four letters, and counts as a name the code page does not hold.
bool Switchable(const Text& name);
// Size in kilobytes: length / 1024 rounded down, plus 1.
std::int64_t SizeInKilobytes(std::int64_t length);

class AddonManager {
    // Shared by the two addon lists, so made before them.
    FolderReads folderReads_;

public:
    explicit AddonManager(Platform platform);
    ~AddonManager();
    AddonManager(const AddonManager&) = delete;
    AddonManager& operator=(const AddonManager&) = delete;

    // ---- Controls, by container.
    Text Caption = "Varnex v0.98b";
    Frame File{"Active Addons"};
    FileListBox File1;
    Frame Frame2{"Inactive Addons"};
    FileListBox File2;
    Frame Frame3{"Addon Folder"};
    OptionButton Option1{"Option1"};
    Label Label2{"OFP/Addons"};
    OptionButton Option2{"Option2"};
    Label Label3{"OFP:R/Addons"};
    OptionButton Option3{"Option3"};
    Label Label4{"others"};
    DirListBox Dir1;
    Frame Frame1{"Selected Addon"};
    CommandButton Command3{"<---  Activate ---"};
    CommandButton Command2{"-- Deactivate -->"};
    CommandButton Command6{"Activate all"};
    CommandButton Command5{"Deactivate all"};
    PictureBox Image1;
    CommandButton Command1{" Delete inactive addon "};
    Frame Frame4{"Information"};
    ListBox List1;
    Frame Frame7{"Comment"};
    TextBox Text1;
    PictureBox Image2;
    PictureBox Image3;
    CommandButton Save{"Save comment"};
    Frame Frame5{"Size of active addons"};
    ListBox addonsize;
    Frame Frame6{"Size of folder"};
    ListBox foldersize;
    CommandButton Command4{"Exit"};
    Label Label1{"Double-click an addon to read its information file."};
    CommonDialog StandardDialog;
    // The menu "&Favorits list" with "&Load List" and "&Save List".
    MenuItem MenueFavorits{"&Favorits list"};
    MenuItem LoadFavorits{"&Load List"};
    MenuItem SaveFavorits{"&Save List"};

    // ---- Window-level variables, in the order of their declaration.
    Text AddonFolder;
    Text GameFolder;
    Text OthersFolder;
    Text SelectedActive;
    Text SelectedInactive;
    Text OfficialAddons;
    Text SelectedSize;
    std::int16_t LoopIndex = 0;
    std::int16_t FileNumber = 0;
    Text CommentKey;
    Text CommentsGame;
    Text CommentsRes;
    bool Busy = false;
    bool FavoritesBusy = false;
    // Holds `Busy` or `FavoritesBusy` up while a handler works: it is down
    // again when the handler ends, also when it ends by an exception.
    class Raised {
    public:
        explicit Raised(bool& flag) : flag_(flag) { flag_ = true; }
        ~Raised() { flag_ = false; }
        Raised(const Raised&) = delete;
        Raised& operator=(const Raised&) = delete;

    private:
        bool& flag_;
    };

    // ---- Event handlers.
    // Returns false when the program ended during start-up.
    bool AddonManager_Form_Load();
    void AddonManager_Option1_Click();
    void AddonManager_Option2_Click();
    void AddonManager_Option3_Click();
    void AddonManager_Dir1_Change();
    void AddonManager_File1_Click();
    void AddonManager_File2_Click();
    void AddonManager_File1_DblClick();
    void AddonManager_File2_DblClick();
    void AddonManager_Command3_Click();
    void AddonManager_Command2_Click();
    void AddonManager_Command6_Click();
    void AddonManager_Command5_Click();
    void AddonManager_Command1_Click();
    void AddonManager_Command4_Click();
    void AddonManager_Save_Click();
    void AddonManager_Text1_Change();
    void AddonManager_LoadFavorits_Click();
    void AddonManager_SaveFavorits_Click();
    // The player closes the window through its frame (close box, Alt+F4,
    // system menu), which writes nothing: comments saved in this run and
    // not yet written are lost then, so the player is asked first. True when
    // the window may close.
    [[nodiscard]] bool AddonManager_Form_QueryUnload();

    // The information window, created by the first double click.
    [[nodiscard]] AddonInfo* Info() { return addonInfo_.get(); }

    // True once the program has ended (Exit, or "Cannot find OFP").
    [[nodiscard]] bool Ended() const { return ended_; }

    // Entries a walk covers at most: its counter is 16 bits wide.
    static constexpr int kWalkLimit = 32767;

private:
    // The two fixed addon folders, both below the game's folder: the
    // expansion's own installation folder is used for nothing but its test.
    [[nodiscard]] Text GameAddons() const { return GameFolder + "\\ADDONS"; }
    [[nodiscard]] Text ExpansionAddons() const { return GameFolder + "\\Res\\AddOns"; }

    void RefreshLists();
    void ShowComment();

    // Walks `list` by moving its selection from the first entry to the
    // last, counting with LoopIndex; `visit` reads the selected entry and
    // says whether to step on. Long walks show "<verb> n of m" in Label1.
    // Returns false when the list had more entries than a walk can count.
    bool WalkBySelection(FileListBox& list, const char* verb, const std::function<bool()>& visit);
    // Tells the player when `list` could not read its folder for another
    // reason than the folder being gone, before a walk that would pass over
    // its addons; false then.
    bool Readable(FileListBox& list);
    // Tells the player that a walk stopped at the counter's limit.
    void ReportWalkLimit(FileListBox& list, const Text& done);
    // Measures the file at SelectedPath, the current entry of `list`, into
    // SelectedSize; returns the size line of the details list.
    Text MeasureSelected(FileListBox& list);
    // Why the program refuses a record before the shell sees it: a path not
    // held, a file held open, a new name already taken; 0 for none.
    int Refusal(const Filemanager::SHFILEOPSTRUCTA& record);
    // Hands a record to the shell unless it is refused, and tells the player
    // of any failure but his own cancel; in a walk, the failure is kept for
    // the walk's one box instead. Returns the shell's result or the refusal.
    int RunShell(const Filemanager::SHFILEOPSTRUCTA& record);
    // A path joined for the shell, written as the player reads it.
    static Text ForThePlayer(const Text& shellPath);
    // Delete once a held name is selected.
    void DeleteSelected();
    // True when a file or folder stands at `shellPath` (joined with "/").
    bool NameTaken(const Text& shellPath);
    void Rename(Filemanager::SHFILEOPSTRUCTA& record, const Text& from, const Text& to);
    // The game's or the expansion's addon folder, chosen by its option.
    void ShowFixedFolder(const Text& folder);
    // The game's or the expansion's addon folder reached as the "others"
    // folder is shown by that folder's own handling, the folder list staying
    // visible. False for any other folder.
    bool ShowOwnHandling(const Text& folder);
    // Any other folder chosen through "others" or the folder list: both
    // lists re-read, and refreshed when they hold an addon.
    void ListOtherFolder();
    // Activate or Deactivate: the addon last selected in a list gets its
    // other name, when `allowed`.
    void SwitchSelected(const Text& name, bool allowed, Text (*newName)(const Text&));
    // Activate all or Deactivate all: walks `list`, `visit` renaming the
    // selected entry with the walk's one shell record.
    void SwitchAll(FileListBox& list, const char* verb, const Text& done,
                   const std::function<bool(Filemanager::SHFILEOPSTRUCTA&)>& visit);
    void ShowInfo();
    void SetUpStandardDialog();

    // What the program knows of a comments file besides its text.
    struct CommentsFileState {
        // Its bytes as start-up read them: at exit a file that no longer
        // holds them was changed by another writer (a second Varnex, a text
        // editor), and this run's saves are replayed onto its new content.
        Text readAtStart;
        // It could not be read at start-up: it is never overwritten.
        bool unreadable = false;
        // The comments stored during this run, in order, each with the keys
        // of its folder at the time, so that a replay stores it as it was.
        struct Save {
            Text key, comment;
            std::shared_ptr<const FolderKeys> keys;
        };
        std::vector<Save> saves;
        // An Exit wrote it and no comment was saved for it since.
        bool written = false;
        // The comments earlier Exits of this run wrote into it: should another
        // program change or remove the file before the next Exit, they are
        // stored into it again with the saves made since.
        std::vector<Save> writtenSaves;
    };

    // The comments text of the folder the lists show, or null when there is
    // none or a handler that moves files is under way.
    Text* ChosenComments();
    CommentsFileState& StateOf(const Text& comments) { return &comments == &CommentsGame ? gameFile_ : resFile_; }
    // The keys of the addons the two lists show now.
    [[nodiscard]] std::shared_ptr<const FolderKeys> CurrentFolderKeys();
    // Reads one comments file whole at start-up; a file that cannot be read
    // is reported and marked so that it is never overwritten at exit.
    void ReadCommentsFile(const Text& path, Text& comments);
    // How Exit's write of one comments file ended: written (or nothing to
    // write), given up by the player who leaves all the same, or cancelled
    // by the player who goes back to the window. Try Again is only asked.
    enum class ExitWrite { written, tryAgain, givenUp, cancelled };
    // Writes a comments text back at exit, keeping what another writer put
    // into the file meanwhile. A write that fails is offered again until it
    // succeeds or the player continues without it or cancels.
    [[nodiscard]] ExitWrite WriteCommentsFile(const Text& path, Text& comments);
    // Asks what to do about what Exit could not write.
    [[nodiscard]] ExitWrite AskAfterFailure(const Text& failure);
    // The addons whose comments `file` holds unwritten, each named once.
    [[nodiscard]] static Text SavedNames(const CommentsFileState& file);
    // How many addons have a comment saved in this run that Exit would
    // write and has not yet.
    [[nodiscard]] std::size_t UnwrittenSaves() const;
    // False when the player, told that `comment` would read back cut short
    // at a "//", says No to saving it as typed.
    [[nodiscard]] bool SaveAsTyped(const Text& name, const Text& comment, const std::vector<Text>& longer);
    // False when the player would replace, unawares, a stored comment the
    // box did not show (after a walk it is empty) and says No.
    [[nodiscard]] bool MayReplace(const Text& comments, const FolderKeys& keys);
    // Reads both addon lists again from the folder: the program's Refresh
    // of the two lists, which every handler makes before and after it
    // changes files.
    void ReReadLists();
    // A box of the program's; returns the player's answer.
    int Box(const Text& text, std::uint32_t style = kMbOk | kMbIconExclamation);
    void EndProgram();

    // Names and paths the code page does not hold (see Held): what the
    // player is told, and the count of addons a walk leaves alone for that.
    // True when `name` is held; otherwise a box says that the addon is left
    // as it is, and why.
    bool HeldOrSaid(const Text& name);
    // Says that the addon at `path` is left as it is, as its folder's name
    // is not held.
    void SayPathNotHeld(const Text& path);
    // Activate all, Deactivate all, Load List and Save List keep, while a
    // tally of theirs lives, the addons they leave alone: those the shell
    // could not switch, with their reasons, and those whose names are not
    // held, counted. The outermost tally (Load List runs Deactivate all)
    // tells both in one box as it ends. A handler that throws leaves the
    // tally as it found it.
    class Tally {
    public:
        explicit Tally(AddonManager& app);
        ~Tally();
        Tally(const Tally&) = delete;
        Tally& operator=(const Tally&) = delete;
        // The box, from the outermost tally only; `done` is the plural
        // phrase, `doneOne` the singular one.
        void Report(const char* done, const char* doneOne);

    private:
        AddonManager& app_;
    };
    // True, and counted, when `name` is not held or cannot be switched: the
    // lists take in names whose extension only begins with ".pbo" or ".pbx",
    // as Windows lists them, and such a name may end in a letter of two bytes.
    bool LeftAlone(const Text& name);
    // False, after a box, when the comment about to be saved cannot be
    // stored for the selected addon: its name is not held, or the player
    // typed letters the code page does not hold.
    bool CommentHeld(const Text& name);
    // The lists were pointed at a folder that is not held: they stay empty,
    // as for a missing folder, and the player is told once per folder.
    void SayFolderNotHeld(const Text& folder);

    Platform platform_;
    RegAccess regAccess_;
    FileNumbers fileNumbers_;
    std::unique_ptr<AddonInfo> addonInfo_;
    std::shared_ptr<const FolderKeys> folderKeys_;
    std::pair<std::uint64_t, std::uint64_t> folderKeysRevisions_{~0ull, ~0ull};
    CommentsFileState gameFile_, resFile_;
    bool ended_ = false;
    std::optional<Text> othersWritten_;  // the "others" folder an Exit wrote

    bool walking_ = false;  // a walk by selection is under way
    int notHeldLeft_ = 0;  // addons the open tallies left alone as not held
    LeftAsTheyWere leftAsTheyWere_;  // addons the open tallies' renames failed on
    int tallies_ = 0;  // tallies open, one inside the other
    Text folderSaid_;  // the last folder told to be not held
    // The comments text and key whose stored comment the box was last
    // filled with; none after the box was emptied (a walk, another folder).
    const Text* shownFrom_ = nullptr;
    Text shownKey_;
};

}  // namespace varnex
