// Varnex starts by loading its main window: the platform services and the
// addon manager are built, its start-up runs before any window is shown
// (and may end the program, when the game cannot be found), then the
// windows open and the message loop runs until none of them is open.
#include "app/AddonManager.hpp"
#include "platform/win32/LateBound.hpp"
#include "platform/win32/Win32Files.hpp"
#include "platform/win32/Win32Registry.hpp"
#include "platform/win32/Win32Shell.hpp"
#include "frontend/FrontEnd.hpp"
#include "frontend/LibrarySearch.hpp"
#include "frontend/Win32Desktop.hpp"
#include "forms/Windows.hpp"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/, int showCommand) {
    // Where the program's own folder stays in the search, a DLL there would
    // be loaded with the shell or the dialogs: Varnex does not go on.
    if (!varnex::platform::win32::SearchOnlySystemForLibraries()) {
        const varnex::Text folder = varnex::frontend::ProgramFolder();
        const varnex::Text refusal =
            varnex::frontend::RefusalForLibrariesBeside(folder, varnex::frontend::LibrariesIn(folder));
        if (!refusal.empty()) {
            (void)MessageBoxA(nullptr, refusal.c_str(), varnex::kProgramTitle,
                              varnex::kMbOk | varnex::kMbIconExclamation);
            return 1;
        }
    }
    // Loads the common controls of the manifest, with the system's look.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    varnex::platform::win32::Win32Registry registry;
    varnex::platform::win32::Win32Files files;
    varnex::platform::win32::Win32Shell shell;
    varnex::frontend::Win32Desktop desktop;
    varnex::frontend::PromptingShell prompting(shell, desktop);
    varnex::AddonManager app({registry, files, prompting, desktop});
    if (!app.AddonManager_Form_Load()) return 0;

    varnex::frontend::FrontEnd frontEnd(app);
    desktop.Attach(&frontEnd);
    if (!frontEnd.Open(showCommand)) {
        (void)desktop.MessageBox("The main window cannot be opened.", varnex::kProgramTitle, varnex::kMbOk);
        return 1;
    }
    const int exitCode = frontEnd.Run();
    desktop.Attach(nullptr);
    return exitCode;
}
