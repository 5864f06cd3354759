#!/usr/bin/env python3
"""Plants one-line faults in the program, one at a time, and records which
tests catch each: a check that the tests still catch what they caught after
they are shortened or merged. The faults go into a separate checkout of the
last commit (a git worktree in build/fault-tree, kept between runs so that
its builds are reused), never into the working tree: each is applied there,
built, tested and taken back out again.

    python3 tools/mutations.py [--layer core|windows|release] [--only ID ...] [--first] [--base COMMIT]

core faults run the native unit tests (preset native); windows faults run
the Win32, end-to-end and release tests under Wine (preset win32, or win64
where this machine runs no 32-bit program); release faults run the release
zip's own test (tests/release/ReleaseZipTest.sh), which needs no build.
Prints a Markdown table: the fault, and the tests that failed with it in
(none: not caught). The tests run once without a fault first and must pass.

--first stops at the first test that fails: the native cases that caught
the fault on the last run first (build/fault-tree/build/catchers.json), then
the quick ones, then the long walks; the ctest entries of a windows fault one
at a time, last run's catcher first. The table then names the catchers of
one test program per fault, in a fraction of the time. --base plants the
same faults into another commit, such as the one before a change to the
tests; a fault whose text that commit lacks says so.

A windows fault builds only the targets its file goes into and runs only
the ctest entries that link or start that code (WINDOWS_TESTS below); the
Wine displays come from VARNEX_DISPLAY, VARNEX_DISPLAY32 and
VARNEX_SCREEN_DISPLAY, as for tools/test-all.sh.
"""
import argparse
import json
import os
import re
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TREE = os.path.join(ROOT, "build", "fault-tree")

# id, layer, file, text as it stands, text with the fault, what the fault is
FAULTS = [
    ("instr-end", "core", "src/text/ClassicText.hpp", "start > hay.size()) return 0;", "start >= hay.size()) return 0;",
     "the classic search misses a match at the last character"),
    ("mid-count", "core", "src/text/ClassicText.hpp", "Text(s.substr(start - 1, count));", "Text(s.substr(start - 1, count - 1));",
     "a slice of a given length comes one character short"),
    ("kilobytes", "core", "src/addons/Naming.cpp", "return length / 1024 + 1;", "return length / 1024;",
     "sizes in kilobytes lose their added 1"),
    ("official", "core", "src/addons/Naming.cpp", "InStr(1, officialAddons, name) != 0", "InStr(1, officialAddons, name) == 0",
     "the official test turned round"),
    ("game-bound", "core", "src/app/StartUp.cpp", 'kGameKey, "Main")).size() <= 2)', 'kGameKey, "Main")).size() < 2)',
     "a game folder of two characters counts as found"),
    ("expansion-bound", "core", "src/app/StartUp.cpp", 'kExpansionKey, "Main")).size() < 2)',
     'kExpansionKey, "Main")).size() <= 2)', "an expansion folder of two characters counts as missing"),
    ("backslash", "core", "src/app/StartUp.cpp", "== 1 && GameFolder.back() == '\\\\') GameFolder.pop_back();", "== 0) {}",
     "the game folder keeps its closing backslash"),
    ("dbcs-backslash", "core", "src/app/StartUp.cpp", "LastLetterLength(GameFolder) == 1 && ", "",
     "the second byte of the game folder's last letter is taken for a closing backslash"),
    ("dbcs-split", "core", "src/text/ClassicText.hpp",
     "const std::size_t length = LetterAt(path, i);\n        if (length == 1 && IsSeparator(path[i])) {",
     "const std::size_t length = 1;\n        if (IsSeparator(path[i])) {",
     "paths are cut at the second byte of a letter that is the backslash's"),
    ("dbcs-join", "core", "src/controls/Controls.cpp", "return EndsInSeparator(folder) ?",
     "return !folder.empty() && IsSeparator(folder.back()) ?", "a folder ending in such a letter is joined without a backslash"),
    ("dbcs-fold", "core", "src/text/ClassicText.hpp", "for (std::size_t i = 0; i < out.size(); i += LetterAt(out, i))",
     "for (std::size_t i = 0; i < out.size(); ++i)", "letter case folds the second byte of a letter"),
    ("dbcs-equal", "core", "src/text/ClassicText.hpp", "const std::size_t length = LetterAt(a, i);",
     "const std::size_t length = 1;", "two letters differing in the case of their second byte compare as equal"),
    ("dbcs-pattern", "core", "src/text/ClassicText.hpp",
     "p += any ? 1 : LetterAt(pattern, p);\n            n += LetterAt(name, n);", "p += any ? 1 : 1;\n            ++n;",
     "a wildcard \"?\" takes half a letter"),
    ("dbcs-last-letter", "core", "src/addons/Naming.cpp", "return LastLetterLength(name) <= 1;", "return !name.empty() || true;",
     "a name ending in a letter of two bytes is switched by changing its second byte"),
    ("dbcs-cut", "core", "src/text/ClassicText.hpp", "return Text(s.substr(0, StartOfLastLetters(s, count)));",
     "return s.size() <= count ? Text() : Text(s.substr(0, s.size() - count));",
     "the information file's name is cut by bytes, splitting a letter"),
    ("dbcs-favorites", "core", "src/favorites/NameMatcher.cpp",
     " || !starts[pos + 1 - static_cast<std::size_t>(depth_[u])]", "",
     "a favorites list names an addon from the second byte of a letter"),
    ("dbcs-lone-lead", "core", "src/platform/Platform.hpp", " && WholeLetters(text);", ";",
     "a text ending in a lone lead byte counts as held"),
    ("index-modify", "core", "src/platform/emulated/FolderIndex.cpp", "IN_MOVED_TO | IN_MODIFY", "IN_MOVED_TO",
     "a big folder's listing keeps the size a file had before it was written to"),
    ("index-cookie", "core", "src/platform/emulated/FolderIndex.cpp", "moved_ && moved_->cookie == cookie", "moved_",
     "a file moved into a big folder takes the size of the one last moved out"),
    ("exit-res", "core", "src/app/Exit.cpp", "Label3.ForeColor() != kColorGrayText) {\n        AddonFolder = ExpansionAddons()",
     "Label3.ForeColor() == kColorGrayText) {\n        AddonFolder = ExpansionAddons()", "Exit writes the expansion's comments only when it is missing"),
    ("exit-cancel", "core", "src/app/Exit.cpp", "        AddonFolder = folder;\n        return;\n", "",
     "Exit ends the program although the player cancelled a failed write"),
    ("exit-retry-twice", "core", "src/app/Exit.cpp", "            file.saves.clear();\n", "",
     "a file written before a failed one still counts as unwritten"),
    ("close-asks", "core", "src/app/Exit.cpp", "    if (unwritten == 0) return true;\n", "    return true;\n",
     "closing through the frame loses saved comments without asking"),
    ("close-default", "core", "src/app/Exit.cpp", "kMbYesNo | kMbIconQuestion | kMbDefButton2) == kIdYes;",
     "kMbYesNo | kMbIconQuestion) == kIdYes;", "Enter on the close question loses the saved comments"),
    ("close-count", "core", "src/app/Exit.cpp", "for (const auto& save : file.saves) keys.insert(save.key);",
     "for (const auto& save : file.saves) keys.insert(save.key + save.comment);",
     "the close question counts a comment saved twice as two"),
    ("reads-back", "core", "src/comments/CommentsText.cpp", "return ReadBack(key, comment, longer) == comment;",
     "return ReadBack(key, comment, longer) == comment || comment.find(\"//\") == Text::npos;", "a comment ending in a slash is stored"),
    ("replace-unseen", "core", "src/comments/CommentEditing.cpp", "    if (stored.empty() || stored == Text1.GetText()) return true;\n",
     "    return true;\n", "a stored comment the box did not show is replaced without asking"),
    ("walk-one-box", "core", "src/addons/Activation.cpp", "    if (tallies_ > 0) {", "    if (false) {",
     "a walk shows one box per addon it could not switch"),
    ("in-use", "core", "src/addons/Activation.cpp", " || platform_.files.InUse(from);", ";",
     "a file the game holds open is told as missing, as Wine's shell says"),
    ("held-to-shell", "core", "src/addons/Activation.cpp", "if (platform_.files.InUse(ForThePlayer(record.pFrom))) return",
     "if (false) return", "a file the game holds open is handed to the shell, which may ask once per addon"),
    ("folder-not-held", "core", "src/addons/Activation.cpp", "if (!Held(record.pFrom) || !Held(record.pTo)) return",
     "if (false) return", "a path whose folder the code page does not hold reaches the shell"),
    ("delete-gone", "core", "src/addons/Delete.cpp", "if (platform_.files.FileLength(addon, length).gone()) {",
     "if (false) {", "Delete of an addon that is not there removes the information file of its name"),
    ("dbcs-list-pattern", "windows", "src/platform/win32/Win32Files.cpp", "if (!EndsInSeparator(pattern)) pattern",
     "if (pattern.back() != '\\\\' && pattern.back() != '/') pattern",
     "a folder ending in a letter whose second byte is the backslash's is listed as its parent"),
    ("dbcs-lead-bytes", "windows", "src/platform/win32/Win32Files.cpp",
     "if (!::GetCPInfo(CP_ACP, &info) || info.MaxCharSize < 2) return {};", "return {};",
     "the system's lead bytes are not asked for: a double-byte system is read byte by byte"),
    ("utf8-invalid", "windows", "src/platform/win32/CodePage.cpp", "codePage == CP_UTF8 ? WC_ERR_INVALID_CHARS : 0", "0",
     "under UTF-8 half a letter becomes the replacement letter, a name of no file"),
    ("in-use-win32", "windows", "src/platform/win32/Win32Files.cpp",
     "return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;", "return (void)error, false;",
     "a file another program holds open is not seen as in use"),
    ("close-escape", "windows", "src/forms/DialogKeys.cpp", "if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)",
     "if (false)", "Escape does not answer No in a question whose default is No"),
    ("close-for-info", "windows", "src/frontend/FrontEnd.cpp", "        if (DropsCloseMeantForInfo(message)) continue;\n",
     "", "Alt+F4 typed for the information window after Escape closed it ends the program"),
    ("logo-over-button", "windows", "src/frontend/MainWindow.cpp",
     "        .SetFocusHome(file2);\n    Add<PictureView>({MainIds::Image1, In(kSelectedFrame, 105, 1755, 2085, 480)}, app_.Image1, PaintLogo);\n",
     "        .SetFocusHome(file2);\n    SetWindowPos(Add<PictureView>({MainIds::Image1, In(kSelectedFrame, 105, 1755, 2085, 480)}, app_.Image1, PaintLogo).Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);\n",
     "the logo is drawn over the top of the delete button"),
    ("close-asks-win32", "windows", "src/frontend/MainWindow.cpp",
     "if (sessionEnding_ || app_.AddonManager_Form_QueryUnload()) DestroyWindow(Handle());",
     "DestroyWindow(Handle());", "the frame's close no longer asks about saved comments"),
    ("exit-replay", "core", "src/app/Exit.cpp", "if (status.ok() && now != file.readAtStart) {", "if (false) {",
     "Exit overwrites what another writer put into the comments file"),
    ("refresh-selected", "core", "src/addons/Lists.cpp", '    SelectedInactive = "";\n}', "}",
     "a refresh leaves the last inactive name selected"),
    ("walk-limit", "core", "src/addons/Lists.cpp", "LoopIndex < kWalkLimit", "LoopIndex <= kWalkLimit",
     "a walk goes one entry past its 16-bit counter"),
    ("companion", "core", "src/addons/Delete.cpp", "CutRight(SelectedInactive, 4)", "CutRight(SelectedInactive, 3)",
     "the companion of a deleted addon is named wrongly"),
    ("empty-companion", "core", "src/info/AddonInfo.cpp", "(void)files_.Delete(path);", "(void)path;",
     "an empty information file, or one the read made, is left behind"),
    ("save-dot", "core", "src/comments/CommentEditing.cpp", "    Image3.SetVisible(false);\n    if (comments) ShowComment();",
     "    if (comments) ShowComment();", "Save comment leaves the red dot on after a refusal"),
    ("no-save-text", "core", "src/comments/CommentEditing.cpp", 'Text1.SetText("No save possible");',
     'Text1.SetText("No save possible.");', "a wrong text in the comment box"),
    ("store-after", "core", "src/comments/CommentsText.cpp", "text = before + key + comment + after;",
     "text = before + key + comment;", "storing a comment drops the entries after it"),
    ("sibling", "core", "src/comments/CommentsText.cpp", "other.size() > found.size() &&", "other.size() < found.size() &&",
     "a comment that reads as a prefix sibling's is stored"),
    ("comments-busy", "core", "src/comments/CommentEditing.cpp", "    if (Busy) return nullptr;\n", "",
     "comments are looked up and stored while files move"),
    ("favorites-busy-click", "core", "src/comments/SelectedAddon.cpp", "if (FavoritesBusy || File1.ListIndex() < 0) return;",
     "if (File1.ListIndex() < 0) return;", "the active list answers clicks while a favorites list is walked"),
    ("save-list", "core", "src/favorites/Favorites.cpp", '+ ".pbx "', '+ ".pbo "',
     "Save List writes the active names"),
    ("load-busy", "core", "src/favorites/Favorites.cpp",
     "        const Raised busy(FavoritesBusy);\n        // A list that does not exist",
     "        FavoritesBusy = true;\n        // A list that does not exist", "Load List leaves FavoritesBusy set"),
    ("registry-view", "core", "src/platform/RegAccess.cpp", "(void)api_.RegOpenKeyExA(root, keyPath, 0, kKeyAccess | KEY_WOW64_32KEY_, key);",
     "(void)api_.RegOpenKeyExA(root, keyPath, 0, kKeyAccess, key);", "registry reads leave the 32-bit view"),
    ("info-fallback", "core", "src/info/AddonInfo.cpp", '{"/x/version", "-"}', '{"/x/version", "No entry"}',
     "a wrong text for a missing version tag"),
    ("fixed-folder-dir", "core", "src/app/FolderChoice.cpp", "    Dir1.SetVisible(false);\n    SelectedActive",
     "    Dir1.SetVisible(true);\n    SelectedActive", "the folder list stays visible on a fixed folder"),
    ("switch-refresh", "core", "src/addons/Activation.cpp", "        ReReadLists();\n        RefreshLists();\n    }\n}",
     "        ReReadLists();\n    }\n}", "switching one addon skips the refresh of the sizes"),
    ("pending-reads", "core", "src/addons/Activation.cpp", "    File2.ReadPending();\n    File1.ReadPending();",
     "    File2.ReadPending();", "the active list keeps showing the folder as it was before the handler changed it"),
    ("gone", "core", "src/platform/Status.hpp", " || code == errc::kPathNotFound; }", "; }",
     "a missing folder counts as a failure, not as gone"),
    ("unseen-drive", "core", "src/app/FolderChoice.cpp",
     "        if (File1.ReadError() == errc::kDriveNotFound) (void)Readable(File1);\n", "",
     "an \"others\" folder on a drive the elevated run lacks shows empty lists without a word"),
    ("name-taken", "core", "src/addons/Activation.cpp", "NameTaken(record.pTo) && NameTaken(record.pFrom);", "false;",
     "a rename onto a name already taken is left to the shell"),
    ("own-delete-prompt", "core", "src/addons/Delete.cpp", "|| platform_.shell.ConfirmsDelete() ||", "|| true ||",
     "where the recycle bin asks nothing, nobody asks before a delete"),
    ("kept-lists", "core", "src/forms/Gate.hpp", "if (kept.aim.changesFiles && kept.listings != Listings()) return false;",
     "", "a kept press renames after the lists changed under it"),
    ("kept-chain", "core", "src/forms/Gate.hpp", "if (next.aim.always || (!dropping && Holds(next))) {",
     "if (next.aim.always || Holds(next)) {", "input kept after a dropped one still runs"),
    ("replace-existing", "windows", "src/platform/win32/Win32Files.cpp",
     "if (::ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))",
     "if (::ReplaceFileA(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) && false)",
     "the comments file is no longer swapped in over the old one"),
    ("held-retry", "windows", "src/platform/win32/Win32Files.cpp", "constexpr int kRetries = 5;", "constexpr int kRetries = 0;",
     "a file a scanner holds for a moment fails the write and the read at once"),
    ("hidden-kept", "windows", "src/platform/win32/Win32Files.cpp", "CREATE_ALWAYS, kept, nullptr",
     "CREATE_ALWAYS, kept & 0, nullptr", "a hidden comments file comes back visible"),
    ("missing-drive", "windows", "src/platform/win32/Win32Files.cpp", "GetDriveTypeA(root) == DRIVE_NO_ROOT_DIR ?",
     "GetDriveTypeA(root) == 12345 ?", "a drive letter the elevated run lacks is told as a missing folder"),
    ("dpi-layout-size", "windows", "src/forms/FormWindow.cpp", "            FitClientToLayout();\n", "",
     "after a DPI change the window keeps the size Windows 8.1 suggests, not its layout's"),
    ("accessible-refuse", "windows", "src/forms/Accessible.cpp", "            return E_NOINTERFACE;",
     "            return standard_->QueryInterface(riid, object);",
     "screen readers reach the standard object, and its name, through its other interfaces"),
    ("foreground-back", "windows", "src/frontend/Foreground.hpp", "SetForegroundWindow(front_);", "(void)front_;",
     "Varnex stays behind the game after the shell's box closes"),
    ("current-folder", "windows", "src/frontend/Win32Desktop.cpp", "    const CurrentFolderKept folder;\n", "",
     "the folder a favorites list was saved in stays open"),
    ("shell-flags", "windows", "src/platform/win32/Win32Shell.cpp", "record.fFlags = op.fFlags;",
     "record.fFlags = op.fFlags | 0x10;", "the shell deletes without asking the player"),
    ("open-always", "windows", "src/platform/win32/Win32Files.cpp", "sharing, nullptr, OPEN_ALWAYS,",
     "sharing, nullptr, OPEN_EXISTING,", "a file opened for writing is no longer created when missing"),
    ("registry-size", "windows", "src/platform/win32/Win32Registry.cpp", "    if (size) *size = sizeValue;\n", "",
     "a registry value comes back without its size"),
    ("others-disabled", "windows", "src/frontend/Win32Desktop.cpp", "if (window != owner && IsWindowEnabled(window)) {",
     "if (window == nullptr && owner == nullptr) {", "the program's other windows take clicks while a box is up"),
    ("tab-stop", "core", "src/controls/OptionGroup.hpp", "if (selected != buttons_.end()) return *selected;",
     "if (selected != buttons_.end() && false) return *selected;",
     "the tab stop stays on the first folder option shown, not the selected one"),
    ("button-enter", "windows", "src/forms/ControlViews.cpp", "    ActOnEnter(BN_CLICKED);\n", "",
     "Enter no longer presses the button that has the keyboard"),
    ("clickable", "core", "src/controls/OptionGroup.hpp", "return control.Visible() && control.Enabled(); }",
     "return control.Enabled(); }", "a hidden button takes a script's click"),
    ("accessible-name", "windows", "src/forms/Accessible.cpp",
     "if (child.vt != VT_I4 || child.lVal != CHILDID_SELF) return standard_->get_accName(child, name);",
     "return standard_->get_accName(child, name);", "screen readers hear the standard names, not the labels"),
    ("info-keys", "windows", "src/frontend/FrontEnd.cpp", "if (main_->Navigate(message) || (info_ && info_->Navigate(message)))",
     "if (main_->Navigate(message))", "the information window no longer answers its keys"),
    ("double-click", "windows", "src/forms/ListViews.cpp", "} else if (code == LBN_DBLCLK && index >= 0) {",
     "} else if (code == LBN_DBLCLK && index > 0) {", "a double click on the first addon opens nothing"),
    ("escape", "windows", "src/forms/DialogKeys.cpp", "            onEscape_();\n            return true;",
     "            return false;", "Escape reaches the controls again and closes the window"),
    ("busy-mark", "windows", "src/frontend/FrontEnd.cpp", "if (!marked_ && Owner()) SetPropW(", "if (false) SetPropW(",
     "the main window no longer says that a handler runs"),
    ("beside-edge", "core", "src/forms/Placement.cpp", "if (theirs.right + width <= work.right) {",
     "if (theirs.right + width < work.right) {", "a window that just fits right of the other goes left of it"),
    ("keep-clear", "core", "src/forms/Placement.cpp", "} else if (keepClear.left - width >= work.left) {",
     "} else if (false) {", "the information window covers the addon list where it fits left of it"),
    ("settext-same", "core", "src/controls/Controls.cpp", "    if (text == GetText()) return;\n", "",
     "setting the comment box to its own text raises its change event"),
    ("held-rule", "core", "src/platform/Platform.hpp", 'return text.find_first_of("?*") == std::string_view::npos && WholeLetters(text);',
     'return text.find_first_of("*") == std::string_view::npos && WholeLetters(text);', "a name with \"?\" reaches the shell as a wildcard"),
    ("walk-not-held", "core", "src/addons/Activation.cpp", "        if (LeftAlone(SelectedInactive)) return true;\n", "",
     "Activate all renames a name ending in a letter of two bytes, which \"*.pbx\" lists"),
    ("walk-not-switchable", "core", "src/addons/Activation.cpp",
     "!IsOfficial(OfficialAddons, SelectedActive) && !LeftAlone(SelectedActive)", "!IsOfficial(OfficialAddons, SelectedActive)",
     "Deactivate all renames a name ending in a letter of two bytes, which \"*.pbo\" lists"),
    ("varnx-not-held", "core", "src/app/Exit.cpp", "if (Held(OthersFolder) && othersWritten_", "if (true && othersWritten_",
     "Exit writes an \"others\" folder with \"?\" over the player's setting"),
    ("typed-not-held", "core", "src/app/CodePage.cpp", "    if (!Text1.Unheld().empty()) {", "    if (false) {",
     "a comment with letters the code page cannot hold is stored with other letters"),
    ("best-fit", "windows", "src/platform/win32/CodePage.cpp", "const DWORD flags = single ? WC_NO_BEST_FIT_CHARS :",
     "const DWORD flags = single ? 0 :", "names and registry strings come over with look-alike letters"),
    ("slashes-yes", "core", "src/comments/CommentEditing.cpp", "kMbYesNo | kMbIconQuestion) == kIdYes)\n        return true;",
     "kMbYesNo | kMbIconQuestion) == kIdYes)\n        return false;", "a comment with \"//\" is not saved though the player says Yes"),
    ("exit-continue", "core", "src/app/Exit.cpp", "return answer == kIdContinue ? ExitWrite::givenUp : ExitWrite::cancelled;",
     "return ExitWrite::cancelled;", "Continue goes back to the window: a failed write keeps the program from ending"),
    ("exit-continue-res", "core", "src/app/Exit.cpp", "if (outcome != ExitWrite::cancelled && Label3", "if (outcome == ExitWrite::written && Label3",
     "after Continue on the game's comments file the expansion's is not written"),
    ("exit-written-twice", "core", "src/app/Exit.cpp", "if (file.written && status.ok() && now == file.readAtStart) return ExitWrite::written;\n", "\n",
     "a second Exit after Cancel writes the game's comments file again"),
    ("varnx-twice", "core", "src/app/Exit.cpp", "if (Held(OthersFolder) && othersWritten_ != OthersFolder) {",
     "if (Held(OthersFolder)) {", "a second Exit after Cancel writes VARNX again"),
    ("save-after-exit", "core", "src/comments/CommentEditing.cpp", "        file.written = false;\n", "",
     "a comment saved after a cancelled Exit is not written by the next"),
    ("save-list-not-held", "core", "src/favorites/Favorites.cpp", "if (!Held(File1.Path())) {", "if (false) {",
     "Save List over a folder not held empties the chosen list"),
    ("fixed-choice-clears", "core", "src/app/FolderChoice.cpp", "    Dir1.SetVisible(false);\n    SelectedActive = \"\";\n    SelectedInactive = \"\";\n",
     "    Dir1.SetVisible(false);\n", "a fixed folder's choice keeps the addons selected before"),
    ("others-choice-clears", "core", "src/app/FolderChoice.cpp", "        SelectedActive = \"\";\n        SelectedInactive = \"\";\n", "",
     "the \"others\" choice keeps the addons selected before"),
    ("load-refresh", "core", "src/favorites/Favorites.cpp", "    ReReadLists();\n    RefreshLists();\n    tally.Report",
     "    ReReadLists();\n    tally.Report", "Load List leaves the sizes and the selection as Deactivate all left them"),
    ("inactive-hides-deactivate", "core", "src/comments/SelectedAddon.cpp", "    Command2.SetVisible(false);\n    Command3.SetVisible(true);",
     "    Command3.SetVisible(true);", "a click in the inactive list leaves Deactivate shown"),
    ("expansion-option", "core", "src/app/StartUp.cpp", "        Option2.SetVisible(false);\n", "",
     "the expansion's option stays shown when the expansion is missing"),
    ("comments-case", "core", "src/comments/CommentEditing.cpp", "if (folder == GameAddons()) return",
     "if (EqualIgnoringCase(folder, GameAddons())) return", "the game's comments are chosen for its folder spelt otherwise"),
    ("walk-empty-refresh", "core", "src/addons/Activation.cpp", "        ReReadLists();\n    }\n    RefreshLists();\n    tally.Report",
     "        ReReadLists();\n        RefreshLists();\n    }\n    tally.Report", "Activate all over an empty inactive list leaves the sizes"),
    ("refresh-first-inactive", "core", "src/addons/Lists.cpp", "    File2.SetListIndex(0);\n    foldersize", "    foldersize",
     "a refresh no longer selects the first inactive addon"),
    ("inactive-official", "core", "src/addons/Activation.cpp", "SwitchSelected(SelectedInactive, !SelectedInactive.empty(), ActiveName);",
     "SwitchSelected(SelectedInactive, !SelectedInactive.empty() && !IsOfficial(OfficialAddons, ActiveName(SelectedInactive)), ActiveName);",
     "an addon of the game's own switched off by hand cannot be switched on"),
    ("backslashes", "core", "src/app/StartUp.cpp", "if (LastLetterLength(GameFolder) == 1 && GameFolder.back() == '\\\\') GameFolder.pop_back();",
     "while (GameFolder.size() > 2 && GameFolder.back() == '\\\\') GameFolder.pop_back();", "every closing backslash is cut from the game folder"),
    ("close-asks-game", "core", "src/app/Exit.cpp", "return addons(gameFile_) + (", "return (",
     "closing asks only about the expansion's unwritten comments"),
    ("list-aim", "core", "src/controls/Controls.cpp",
     "return index < 0 || (index < ListCount() && List(index) == name);", "return true;",
     "a kept click acts on whatever name a re-read put at the place clicked"),
    ("folder-list-aim", "core", "src/controls/Controls.cpp",
     "return Visible() && Enabled() && path_ == from;", "return true;",
     "a kept double click on the folder list runs after a handler hid or moved the list"),
    ("typed-aim", "core", "src/controls/Controls.cpp", "return GetText() == under;", "return true;",
     "kept typing replaces the text a handler put into the box"),
    ("button-changes-files", "windows", "src/forms/ControlViews.cpp", "Aim{[this] { return TakesInput(model_); }, changesFiles_});",
     "Aim{[this] { return TakesInput(model_); }, false});", "a kept press that renames runs after the lists changed"),
    ("delete-changes-files", "windows", "src/frontend/MainWindow.cpp",
     "app_.Command1, gate_)\n        .ChangesFiles()\n", "app_.Command1, gate_)\n",
     "a kept Delete runs after the lists changed under it"),
    ("menu-changes-files", "windows", "src/frontend/MainWindow.cpp",
     "MenuBar::Changes::Files);", "MenuBar::Changes::Nothing);",
     "a kept Load List or Save List runs after the lists changed under it"),
    ("close-kept-always", "windows", "src/frontend/MainWindow.cpp", "Aim{.always = true});", "Aim{.always = false});",
     "a close clicked during a walk is dropped with the input kept before it"),
    ("kept-chain-win32", "windows", "src/forms/Gate.hpp", "if (next.aim.always || (!dropping && Holds(next))) {",
     "if (next.aim.always || Holds(next)) {", "in the program, input kept after a dropped one still runs"),
    ("typed-letters", "windows", "src/forms/ControlViews.cpp", "model_.SetTyped(typed, unheld);", "model_.SetTyped(typed, {});",
     "letters typed that the code page cannot hold are no longer named"),
    ("zip-time-zone", "release", "tools/release-zip.sh", "TZ=UTC zip -X", "zip -X",
     "the zip's times follow the builder's time zone"),
    ("zip-times", "release", "tools/release-zip.sh", 'touch -d "@$epoch"', "touch",
     "the zip's entries carry the time of the build, not the commit's"),
    ("zip-owner", "release", "tools/release-zip.sh", "zip -X -D", "zip -D",
     "the zip's entries carry the builder's user and group ids"),
    ("zip-permissions", "release", "tools/release-zip.sh", 'chmod 0644 "$stage/README.txt"', 'chmod 0600 "$stage/README.txt"',
     "the zip's texts carry the builder's permissions"),
    ("zip-untracked", "release", "tools/release-zip.sh", "status --porcelain 2>", "status --porcelain --untracked-files=no 2>",
     "a tree with files not committed gets a zip named by its version"),
    ("zip-crlf", "release", "tools/release-zip.sh", 'sub(/\\r*$/, "\\r"); ', "",
     "the player's readme keeps its LF line ends, one long line in Notepad"),
    ("exe-time-stamp", "windows", "cmake/Reproducible.cmake", " -Wl,--no-insert-timestamp", "",
     "the program's header carries the time it was linked"),
    ("exe-symbols", "windows", "cmake/Reproducible.cmake", "PRIVATE -s ", "PRIVATE ",
     "the program in the zip is not stripped"),
]


# The Windows build's ctest entries, each with the targets it needs built
# and the paths of the code it can see: what its programs link, or what the
# program they start is built from. A fault in src/frontend cannot be seen
# by a test that neither links nor starts the program; the link flags of the
# finished program only by the tests that look at its bytes. An entry's
# name is a pattern: the tests of the 32-bit prefix (suffix _prefix32) and
# the fixtures that start and stop the Wine sessions come with it.
WINDOWS_TESTS = [
    ("varnex_win32_tests", ["varnex_win32_tests"],
     ["src/platform/win32/", "src/forms/", "src/frontend/LibrarySearch.", "src/frontend/Foreground.hpp",
      "src/frontend/MainWindow.", "src/frontend/Pictures."]),
    ("varnex_imports", ["varnex"], ["src/", "cmake/Reproducible.cmake"]),
    ("release_", ["release_zip", "varnex_release_start"], ["src/", "cmake/Reproducible.cmake"]),
    ("varnex_e2e_tests", ["varnex_e2e_tests"], ["src/"]),
    ("CodePage", ["varnex_e2e_codepage"], ["src/"]),
    ("DoubleByte_", ["varnex_e2e_codepage"], ["src/"]),
    ("Fit_", ["varnex_e2e_fit"], ["src/"]),
    ("WriteAudit", ["varnex_e2e_write_audit"], ["src/"]),
    ("bench_wine_smoke", ["varnex_wine_bench"], ["src/"]),
    ("bench_paint_smoke", ["varnex_paint_bench"], ["src/"]),
]


def windows_tests_seeing(path, present):
    """The entries, in the order above, that can see `path` and have tests in
    this build (`present`: the names of its ctest entries), each with its targets."""
    return [(entry, targets) for entry, targets, seen in WINDOWS_TESTS
            if any(path.startswith(s) for s in seen) and any(re.match(entry, name) for name in present)]


def run(cmd, cwd=TREE):
    return subprocess.run(cmd, shell=True, cwd=cwd, capture_output=True, text=True, errors="replace")


# Each fault's file is built twice, with the fault and then as it was again
# for the next fault: the compiler cache turns the second build of every
# file into a copy, which halves the run. It lives in the fault tree's own
# build folder and is installed like the other packages the tools need.
CACHE = "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache"


def compiler_cache():
    """The configure options that build through ccache, installed first
    where it is missing; none where it cannot be had."""
    need = run(f"bash -c 'source {ROOT}/tools/packages.sh && varnex_need_packages ccache'", cwd=ROOT)
    if need.returncode != 0:
        print(need.stdout.strip(), file=sys.stderr)
        return ""
    os.environ["CCACHE_DIR"] = os.path.join(TREE, "build", "ccache")
    return " " + CACHE


def checkout(commit):
    if not os.path.isdir(TREE):
        run(f"git worktree add --detach {TREE} HEAD", cwd=ROOT)
    head = run(f"git rev-parse {commit}", cwd=ROOT).stdout.strip()
    run(f"git checkout --quiet --force --detach {head} && git clean --quiet -fd -e build")


def native_cases(extra=""):
    """The cases of the native suite that failed, and whether it ran to its end."""
    out = run("timeout 600 build/native/tests/native/varnex_tests --gtest_brief=1" + extra)
    failed = sorted({m.group(1) for m in re.finditer(r"\[  FAILED  \] (\S+\.\S+)", out.stdout)})
    if out.returncode != 0 and not failed:
        failed = ["(the test program ended abnormally)"]
    return failed


def slow_native_cases():
    """The native cases that take a second or more, from one run without a
    fault, which must pass: a test that fails on its own would count every
    fault as caught."""
    report = os.path.join(TREE, "build", "native-times.json")
    out = run(f"timeout 600 build/native/tests/native/varnex_tests --gtest_brief=1 --gtest_output=json:{report}")
    if out.returncode != 0:
        sys.exit("the native tests fail without a fault:\n" + out.stdout[-2000:])
    suites = json.load(open(report))["testsuites"]
    return [f"{suite['name']}.{case['name']}" for suite in suites for case in suite["testsuite"]
            if float(case["time"].rstrip("s")) >= 1.0]


def failing_native(first, remembered, slow):
    if not first:
        return native_cases()
    # The cases that caught this fault last time first, then the quick ones,
    # then the few long walks: most faults are caught in a second.
    if remembered:
        failed = native_cases(" --gtest_filter=" + ":".join(remembered))
        if failed:
            return failed
    if not slow:
        return native_cases(" --gtest_fail_fast")
    return (native_cases(" --gtest_fail_fast --gtest_filter=-" + ":".join(slow))
            or native_cases(" --gtest_fail_fast --gtest_filter=" + ":".join(slow)))


def failing_windows(preset, seeing, first, remembered):
    # The GoogleTest cases that failed, then the ctest entries that did, and
    # the entry that caught them; with `first`, of the first entry that
    # failed, the one that caught this fault last time tried first, each
    # entry built and run on its own, so that a fault the first catches
    # links no other test program.
    if first:
        seeing = sorted(seeing, key=lambda e: e[0] not in remembered)
    for group in [[e] for e in seeing] if first else [seeing] if seeing else []:
        targets = sorted({t for _, ts in group for t in ts})
        if run(f"cmake --build --preset {preset} -j 2 --target {' '.join(targets)}").returncode != 0:
            return ["(does not build)"], []
        pattern = "|".join(entry for entry, _ in group)
        out = run(f"ctest --preset {preset} -j 1 --output-on-failure -R '^({pattern})'").stdout
        cases = sorted({m.group(1) for m in re.finditer(r"\[  FAILED  \] (\S+\.\S+)", out)})
        failed = [m.group(1) for m in re.finditer(r"\d+ - (\S+) \((?:Failed|Timeout|Exception)", out)]
        if cases or failed:
            return cases + failed, [entry for entry, _ in group]
    return [], []


def windows_baseline(preset, present):
    """Every Windows entry built and run once without a fault, which must pass."""
    if run(f"cmake --build --preset {preset} -j 2").returncode != 0:
        sys.exit(f"the {preset} build fails without a fault")
    entries = "|".join(entry for entry, _, _ in WINDOWS_TESTS if any(re.match(entry, n) for n in present))
    out = run(f"ctest --preset {preset} -j 1 --output-on-failure -R '^({entries})'")
    if out.returncode != 0:
        sys.exit(f"the {preset} tests fail without a fault:\n" + out.stdout[-3000:])


def failing_release():
    # The steps of the zip's own test that failed.
    out = run("timeout 600 bash tests/release/ReleaseZipTest.sh")
    failed = [line[len("FAILED: "):] for line in out.stdout.splitlines() if line.startswith("FAILED: ")]
    if out.returncode != 0 and not failed:
        failed = ["(the zip's test ended abnormally)"]
    return failed


def main():
    args = argparse.ArgumentParser()
    args.add_argument("--layer", choices=["core", "windows", "release"])
    args.add_argument("--only", nargs="*")
    args.add_argument("--first", action="store_true")
    args.add_argument("--base", default="HEAD")
    # The Windows faults are tested on the 32-bit program where this machine
    # runs it, and on the 64-bit build of the same sources where it does not.
    runs_32bit = run(os.path.join(ROOT, "tools/wine.sh") + " --decide", cwd=ROOT).stdout.strip() == "yes"
    args.add_argument("--win-preset", default="win32" if runs_32bit else "win64")
    opts = args.parse_args()
    chosen = [f for f in FAULTS if (not opts.layer or f[1] == opts.layer) and (not opts.only or f[0] in opts.only)]
    checkout(opts.base)
    # Each Wine run on the displays this session was given, where it was.
    displays = " ".join(f"-D{name}={os.environ[name]}" for name in
                        ("VARNEX_DISPLAY", "VARNEX_DISPLAY32", "VARNEX_SCREEN_DISPLAY") if os.environ.get(name))
    cache = compiler_cache()
    for preset in {"native" if f[1] == "core" else opts.win_preset for f in chosen if f[1] != "release"}:
        run(f"cmake --preset {preset}" + cache + ("" if preset == "native" else " " + displays))
    present = re.findall(r"Test +#\d+: (\S+)", run(f"ctest --preset {opts.win_preset} -N").stdout)
    # What caught each fault on the last run, tried first on this one.
    memory = os.path.join(TREE, "build", "catchers.json")
    catchers = json.load(open(memory)) if os.path.exists(memory) else {}
    started = time.monotonic()
    layers = {f[1] for f in chosen}
    if "core" in layers:
        run("cmake --build --preset native -j 2 --target varnex_tests")
        slow = slow_native_cases()
    if "windows" in layers:
        windows_baseline(opts.win_preset, present)
    print("| fault | what it breaks | caught by |\n|---|---|---|")
    for fid, layer, path, old, new, what in chosen:
        full = os.path.join(TREE, path)
        original = open(full, encoding="latin-1").read()
        if original.count(old) < 1:
            print(f"| {fid} | {what} | (the text to change is not in {path}) |", flush=True)
            continue
        open(full, "w", encoding="latin-1").write(original.replace(old, new, 1))
        remembered = catchers.get(fid, [])
        try:
            if layer == "release":
                caught, by = failing_release(), []
            elif layer == "windows":
                caught, by = failing_windows(opts.win_preset, windows_tests_seeing(path, present), opts.first,
                                             remembered)
            elif run("cmake --build --preset native -j 2 --target varnex_tests").returncode != 0:
                caught, by = ["(does not build)"], []
            else:
                caught = failing_native(opts.first, remembered, slow)
                by = [c for c in caught if not c.startswith("(")]
        finally:
            open(full, "w", encoding="latin-1").write(original)
        if by:
            catchers[fid] = by
            json.dump(catchers, open(memory, "w"), indent=1, sort_keys=True)
        print(f"| {fid} | {what} | {', '.join(caught) if caught else 'NOT CAUGHT'} |", flush=True)
    print(f"{len(chosen)} faults in {time.monotonic() - started:.0f} s", file=sys.stderr)


if __name__ == "__main__":
    sys.exit(main())
