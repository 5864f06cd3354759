// Favorites lists: the set of non-official active addons written to a file,
// and such a file re-applied to the folder.
#include "app/AddonManager.hpp"
#include "favorites/NameMatcher.hpp"

namespace varnex {

void AddonManager::SetUpStandardDialog() {
    StandardDialog.InitDir = AddonFolder;
    StandardDialog.Filter = "Favorits (*.txtf)|*.txtf";
    StandardDialog.FilterIndex = 1;
}

void AddonManager::AddonManager_SaveFavorits_Click() {
    SetUpStandardDialog();
    StandardDialog.ShowSave(platform_.desktop);
    const Text path = StandardDialog.FileName;
    // An active list that could not be read would write an empty list over
    // the chosen file.
    if (path.empty()) return;
    if (!Held(path)) {
        Box("The favorites list " + path + " cannot be written: " + DescribeError(errc::kNameNotHeld) + ".");
        return;
    }
    // The lists show a folder that is not held as empty, as a missing one:
    // written, the chosen list would lose every name it holds.
    if (!Held(File1.Path())) {
        Box("The favorites list " + path + " was not written: Varnex cannot read the folder " + File1.Path() + ": " +
            DescribeError(errc::kNameNotHeld) + ".");
        return;
    }
    if (!Readable(File1)) return;
    Tally tally(*this);
    {
        const Raised busy(FavoritesBusy);
        Text list;
        // A name not held would come back from the list as a wildcard.
        const bool complete = WalkBySelection(File1, "Writing the list:", [&] {
            const Text name = File1.FileName();
            if (!IsOfficial(OfficialAddons, name) && !LeftAlone(name)) list += CutRight(name, 4) + ".pbx ";
            return true;
        });
        // The list is built first and swapped in whole: a file that cannot be
        // written keeps its earlier list.
        const IoStatus written = platform_.files.ReplaceContent(path, list);
        if (!written.ok())
            Box("The favorites list " + path + " could not be written: " + DescribeError(written.code) + ".");
        else if (!complete)
            ReportWalkLimit(File1, "written to the list");
    }
    tally.Report("were not written to the list", "was not written to the list");
}

void AddonManager::AddonManager_LoadFavorits_Click() {
    SetUpStandardDialog();
    StandardDialog.ShowOpen(platform_.desktop);
    // The addons Deactivate all and the list's own walk leave alone are
    // counted together, for one box at the end.
    Tally tally(*this);
    AddonManager_Command5_Click();
    const Text path = StandardDialog.FileName;
    if (path.empty()) {
        tally.Report("were left as they are", "was left as it is");
        return;
    }
    bool complete = true;
    {
        const Raised busy(FavoritesBusy);
        // A list that does not exist is not created empty by reading it; a
        // name that is not held is not read at all, and said why.
        std::int64_t length = 0;
        IoStatus status = Held(path) ? platform_.files.FileLength(path, length) : IoStatus{errc::kNameNotHeld};
        Text list;
        if (status.ok()) status = fileNumbers_.ReadWhole(fileNumbers_.FreeFile(), path, list);
        if (!status.ok()) {
            // The load still ends as every load does, so the lists, the sizes
            // and the comment box show the folder as "Deactivate all" left it.
            const Text reason = status.gone() ? "was not found" : "cannot be read: " + DescribeError(status.code);
            Box("The favorites list " + path + " " + reason +
                ".\r\n\r\nEvery addon that is not one of the game's own has been deactivated; none was activated.");
        } else {
            (void)Readable(File2);
            std::vector<Text> names;
            names.reserve(static_cast<std::size_t>(File2.ListCount()));
            for (const auto& entry : File2.Entries()) names.push_back(entry.name);
            const std::vector<bool> listed = NameMatcher(names).Occurs(list);
            Filemanager::SHFILEOPSTRUCTA record;
            complete = WalkBySelection(File2, "Activating", [&] {
                const Text name = File2.FileName();
                if (listed[static_cast<std::size_t>(File2.ListIndex())] && !LeftAlone(name)) {
                    SelectedInactive = name;
                    Rename(record, SelectedInactive, ActiveName(SelectedInactive));
                }
                return true;
            });
        }
    }
    if (!complete) ReportWalkLimit(File2, "checked against the list");
    ReReadLists();
    RefreshLists();
    tally.Report("were left as they are", "was left as it is");
}

}  // namespace varnex
