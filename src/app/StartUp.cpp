// Start-up: find the game, make sure its addon folder exists, read the
// comments files, point the lists at the game's addon folder and recover the
// folder of the "others" choice.
#include "app/AddonManager.hpp"

namespace varnex {

Text BuildOfficialAddons() {
    const Text first =
        "6G30.PBO ABOX.PBO APAC.PBO BIZON.PBO BMP2.PBO BRMD.PBO CH47.PBO FLAGS.PBO G36A.PBO HUMR.PBO "
        "HUNTER.PBO KOZL.PBO LASERGUIDED.PBO M2A2.PBO MM-1.PBO OH58.PBO STEYR.PBO SU25.PBO su25.pbo "
        "TRAB.PBO VULCAN.PBO XMS.PBO ";
    const Text second =
        "6G30.pbo ABox.pbo Apac.pbo Bizon.pbo BMP2.pbo Brmd.pbo ch47.pbo Flags.pbo G36a.pbo humr.pbo "
        "Hunter.pbo KOLO.PBO kozl.pbo LaserGuided.pbo M2A2.pbo MINI.PBO Mm-1.pbo Noe.pbo O.pbo O_WP.PBO "
        "oh58.pbo Steyr.pbo su25.pbo trab.pbo vulcan.pbo XMS.pbo ";
    const Text third =
        "1985.pbo Abel.pbo Anim.pbo anims.pbo Cain.pbo Data3D.pbo Data.pbo dtaext.pbo Eden.pbo Fonts.pbo "
        "LandText.pbo Merged.pbo MISC.PBO Misc.pbo Music.pbo resistance.pbo scripts.pbo Sound.pbo Voice.pbo "
        "VoiceRH.pbo";
    return first + second + third;
}

void AddonManager::ReadCommentsFile(const Text& path, Text& comments) {
    CommentsFileState& file = StateOf(comments);
    const IoStatus status = fileNumbers_.ReadWhole(FileNumber, path, comments);
    file.readAtStart = comments;
    file.unreadable = !status.ok();
    if (file.unreadable)
        Box("The comments file " + path + " cannot be read: " + DescribeError(status.code) +
            ".\r\n\r\nIts comments are not shown in this session, and Varnex will leave the file as it is.");
}

bool AddonManager::AddonManager_Form_Load() {
    OfficialAddons = BuildOfficialAddons();

    if (ValueText(regAccess_.ReadRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "Main")).size() <= 2) {
        (void)platform_.desktop.MessageBox("Cannot find OFP", kProgramTitle, kMbOk);
        EndProgram();
        return false;
    }
    GameFolder = ValueText(regAccess_.ReadRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "Main"));
    // The last letter, not the last byte: in a double-byte code page the
    // second byte of a letter (the 5C of the Japanese letter for "table")
    // may be the backslash's.
    if (LastLetterLength(GameFolder) == 1 && GameFolder.back() == '\\') GameFolder.pop_back();
    if (!Held(GameFolder)) {
        Box("The game folder " + GameFolder + " cannot be opened: " + DescribeError(errc::kNameNotHeld) +
            ".\r\n\r\nChange Windows' language setting for non-Unicode programs (Control Panel, Region, " +
            "Administrative) to one that holds these letters, or install the game in a folder whose name has " +
            "none of them.\r\n\r\nVarnex ends now and has changed nothing.");
        EndProgram();
        return false;
    }

    const Text gameAddons = GameAddons();
    if (!platform_.files.FolderExists(gameAddons)) {
        const IoStatus created = platform_.files.CreateFolder(gameAddons);
        if (!created.ok()) {
            Box("The addon folder " + gameAddons + " does not exist and cannot be created: " +
                DescribeError(created.code) + ".\r\n\r\nVarnex ends now and has changed nothing.");
            EndProgram();
            return false;
        }
    }

    AddonFolder = gameAddons + "\\Comments.txt";
    FileNumber = fileNumbers_.FreeFile();
    ReadCommentsFile(AddonFolder, CommentsGame);
    AddonFolder = gameAddons;
    File1.SetPath(AddonFolder);
    File2.SetPath(AddonFolder);

    Dir1.SetPath(OthersFolder);
    Dir1.SetVisible(false);
    Image3.SetVisible(false);

    if (ValueText(regAccess_.ReadRegValue(HKEY_LOCAL_MACHINE_, kExpansionKey, "Main")).size() < 2) {
        Label3.SetForeColor(kColorGrayText);
        Option2.SetVisible(false);
    } else {
        // An expansion whose addon folder is gone (a key left behind by an
        // uninstall) has no comments yet, and nothing is created for it.
        AddonFolder = ExpansionAddons() + "\\Comments.txt";
        if (platform_.files.FolderExists(ExpansionAddons())) ReadCommentsFile(AddonFolder, CommentsRes);
        AddonFolder = gameAddons;
    }
    ReReadLists();

    if (ValueText(regAccess_.ReadRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "VARNX")).size() > 2)
        OthersFolder = ValueText(regAccess_.ReadRegValue(HKEY_LOCAL_MACHINE_, kGameKey, "VARNX"));
    else
        OthersFolder = GameFolder;
    return true;
}

}  // namespace varnex
