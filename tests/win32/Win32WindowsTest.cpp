// The window code against the real window manager, in this process: a move
// to a monitor of another DPI, the input kept by the views during a handler,
// the accessible object of a control with a name of its own, the program
// kept in front across a box without owner, the keys of a question's box,
// and the start-up check of the libraries beside the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include <oleacc.h>
#include <servprov.h>

#include <filesystem>
#include <fstream>

#include "forms/Accessible.hpp"
#include "forms/DialogKeys.hpp"
#include "forms/Dpi.hpp"
#include "forms/FormWindow.hpp"
#include "frontend/ControlIds.hpp"
#include "frontend/Foreground.hpp"
#include "frontend/LibrarySearch.hpp"
#include "frontend/MainWindow.hpp"
#include "platform/win32/Win32Files.hpp"
#include "platform/win32/Win32Registry.hpp"
#include "platform/win32/Win32Shell.hpp"

namespace varnex::frontend {

using platform::win32::Win32Files;
using platform::win32::Win32Registry;
using platform::win32::Win32Shell;

using forms::AnswerWithName;
using forms::DialogKeys;
using forms::EscapeAnswersNo;
using forms::FormWindow;
using forms::Gate;
using forms::WindowDpi;
namespace {

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

class PlainForm final : public FormWindow {
public:
    PlainForm(Gate& gate, SIZE twips) : FormWindow(gate) {
        Create("VarnexTestForm", 0, "Form", twips, WS_OVERLAPPEDWINDOW);
        ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    }
    void OnClose() override {}
};

// Windows 8.1, and 10 1607 with per-monitor DPI of the first kind, send
// WM_DPICHANGED without asking the window's size first, and suggest the old
// rectangle scaled by the DPIs' ratio, its frame too, which they do not scale.
TEST(Dpi, AMoveToAnotherDpiSizesTheWindowToItsLayout) {
    Gate gate;
    PlainForm form(gate, SIZE{4500, 3000});  // 300 x 200 pixels at 96 DPI
    ASSERT_TRUE(form.IsOpen());
    ASSERT_EQ(WindowDpi(form.Handle()), 96u) << "the test session's screen";
    for (const UINT dpi : {144u, 120u, 96u}) {
        RECT before{};
        GetWindowRect(form.Handle(), &before);
        const RECT suggested{before.left + 10, before.top + 20,
                             before.left + 10 + MulDiv(before.right - before.left, 144, 96),
                             before.top + 20 + MulDiv(before.bottom - before.top, 144, 96)};
        SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        RECT after{};
        GetWindowRect(form.Handle(), &after);
        const SIZE client = ClientSize(form.Handle());
        EXPECT_EQ(std::to_string(after.left - suggested.left) + "," + std::to_string(after.top - suggested.top) + " " +
                      std::to_string(client.cx) + "x" + std::to_string(client.cy),
                  "0,0 " + std::to_string(MulDiv(300, dpi, 96)) + "x" + std::to_string(MulDiv(200, dpi, 96)))
            << dpi << " DPI";
    }
}

// A fresh folder of three addons and a subfolder under the Windows
// temporary folder, removed with what it holds.
struct ScratchFolder {
    const Text path = [] {
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(sizeof temp, temp);
        return Text(temp) + "varnex-kept-" + std::to_string(GetCurrentProcessId());
    }();
    ScratchFolder() {
        std::filesystem::create_directories(path + "\\sub");
        for (const char* name : {"a.pbo", "b.pbo", "c.pbo"}) std::ofstream(path + "\\" + name) << "x";
    }
    ~ScratchFolder() { std::filesystem::remove_all(path); }
};

// The main window shows nothing: its handlers are replaced by the test's.
class SilentDesktop final : public Desktop {
    int MessageBox(const Text&, const Text&, std::uint32_t) override { return kIdOk; }
    Text ShowOpenDialog(const FileDialogSetup&) override { return {}; }
    Text ShowSaveDialog(const FileDialogSetup&) override { return {}; }
    bool ResponsiveDue() override { return false; }
    void KeepResponsive() override {}
    void EndProgram() override {}
};

// The program's main window over the scratch folder, wired to its gate as
// the program wires it; every press and choice only says that it ran.
struct MainWindowScene {
    ScratchFolder folder;
    Win32Registry registry;
    Win32Files files;
    Win32Shell shell;
    SilentDesktop desktop;
    AddonManager app{{registry, files, shell, desktop}};
    Gate gate;
    MainWindow window{app, gate, {}};
    bool ran = false;
    int beeps = 0;

    MainWindowScene() {
        for (CommandButton* button :
             {&app.Command3, &app.Command2, &app.Command6, &app.Command5, &app.Command1, &app.Save, &app.Command4}) {
            button->SetVisible(true);
            button->Click = [this] { ran = true; };
        }
        app.LoadFavorits.Click = app.SaveFavorits.Click = [this] { ran = true; };
        app.File1.Click = app.Text1.Change = app.Dir1.Change = {};
        app.File1.SetPath(folder.path);
        app.File1.ReadPending();
        app.Dir1.SetPath(folder.path);
        app.Dir1.SetVisible(true);
        gate.SetSettle([this] { window.SyncViews(); });
        gate.SetListings([this] { return app.File1.ListingStamp() + app.File2.ListingStamp(); });
        gate.SetDropped([this] { ++beeps; });
        window.SyncViews();
    }
    HWND Item(int id) const { return GetDlgItem(window.Handle(), id); }
    void Command(int id, WORD code) const {
        SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(id)));
    }
};

// What the player does while a handler works, as the window gets it.
enum class Player { ClicksB, OpensSub, Types };
// What the handler does meanwhile.
enum class Meanwhile { Nothing, RemovesA, RereadsList, HidesFolders, MovesFolders, FillsBox };

TEST(KeptInput, KeptInputRunsOnlyWhileItsAimStillStands) {
    using enum Player;
    using enum Meanwhile;
    struct Row {
        const char* scene;
        Player player;
        Meanwhile meanwhile;
        bool runs;
    };
    const Row rows[] = {
        {"a click on b, nothing changed", ClicksB, Nothing, true},
        {"a click on b, a removed: another name there", ClicksB, RemovesA, false},
        {"a click on b, the same names read anew", ClicksB, RereadsList, true},
        {"a double click on sub", OpensSub, Nothing, true},
        {"a double click on sub, the folder list hidden", OpensSub, HidesFolders, false},
        {"a double click on sub, the folder list moved", OpensSub, MovesFolders, false},
        {"typing", Types, Nothing, true},
        {"typing over a text the handler put there", Types, FillsBox, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scene);
        MainWindowScene scene;
        AddonManager& app = scene.app;
        ASSERT_TRUE(scene.window.IsOpen());
        const HWND list = scene.Item(MainIds::File1), folders = scene.Item(MainIds::Dir1);
        ASSERT_TRUE(scene.gate.Run([&] {
            if (row.player == ClicksB) {
                SendMessageA(list, LB_SETCURSEL, 1, 0);
                scene.Command(MainIds::File1, LBN_SELCHANGE);
            } else if (row.player == OpensSub) {
                SendMessageA(folders, LB_SETCURSEL,
                             SendMessageA(folders, LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>("sub")), 0);
                scene.Command(MainIds::Dir1, LBN_DBLCLK);
            } else {
                SendMessageA(scene.Item(MainIds::Text1), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
            }
            EXPECT_NE(app.File1.ListIndex(), 1) << "kept while the handler works";
            if (row.meanwhile == RemovesA) std::filesystem::remove(scene.folder.path + "\\a.pbo");
            if (row.meanwhile == RemovesA || row.meanwhile == RereadsList) app.File1.Refresh(), app.File1.ReadPending();
            if (row.meanwhile == HidesFolders) app.Dir1.SetVisible(false);
            if (row.meanwhile == MovesFolders) app.Dir1.SetPath(scene.folder.path.substr(0, 3));
            if (row.meanwhile == FillsBox) app.Text1.SetText("the next addon's note");
        }));
        const bool ran = row.player == ClicksB    ? app.File1.ListIndex() >= 0
                         : row.player == OpensSub ? EqualIgnoringCase(app.Dir1.Path(), scene.folder.path + "\\sub")
                                                  : app.Text1.GetText().find("typed") != Text::npos;
        EXPECT_EQ(std::pair(ran, scene.beeps), std::pair(row.runs, row.runs ? 0 : 1));
    }
}

TEST(KeptInput, KeptChangesDropAfterTheListsChangedButACloseRuns) {
    struct Row {
        const char* control;
        int id;
        bool menu;
        bool changesFiles;
    };
    const Row rows[] = {
        {"Activate", MainIds::Command3, false, true},
        {"Deactivate", MainIds::Command2, false, true},
        {"Activate all", MainIds::Command6, false, true},
        {"Deactivate all", MainIds::Command5, false, true},
        {"Delete", MainIds::Command1, false, true},
        {"Load List", MenuIds::LoadFavorits, true, true},
        {"Save List", MenuIds::SaveFavorits, true, true},
        {"Save comment", MainIds::Save, false, false},
        {"Exit, which only writes comments", MainIds::Command4, false, false},
    };
    MainWindowScene scene;
    ASSERT_TRUE(scene.window.IsOpen());
    for (const Row& row : rows) {
        for (const bool reread : {false, true}) {
            SCOPED_TRACE(std::string(row.control) + (reread ? ", the lists read anew" : ""));
            scene.ran = false;
            scene.beeps = 0;
            scene.gate.Run([&] {
                if (row.menu) SendMessageA(scene.window.Handle(), WM_COMMAND, MAKEWPARAM(row.id, 0), 0);
                if (!row.menu) scene.Command(row.id, BN_CLICKED);
                if (reread) scene.app.File2.Refresh(), scene.app.File2.ReadPending();
            });
            const bool dropped = reread && row.changesFiles;
            EXPECT_EQ(std::pair(scene.ran, scene.beeps), std::pair(!dropped, dropped ? 1 : 0));
        }
    }
    // A close kept behind a dropped Delete still closes: the player can
    // always leave.
    scene.ran = false;
    scene.beeps = 0;
    scene.gate.Run([&] {
        scene.Command(MainIds::Command1, BN_CLICKED);
        SendMessageA(scene.window.Handle(), WM_CLOSE, 0, 0);
        scene.app.File2.Refresh(), scene.app.File2.ReadPending();
    });
    EXPECT_EQ(std::pair(scene.ran, scene.beeps), std::pair(false, 1));
    EXPECT_FALSE(scene.window.IsOpen());
}

LRESULT CALLBACK NamedControl(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT)
        if (const LRESULT answer = AnswerWithName(hwnd, wParam, "Saved comment")) return answer;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring NameOf(IAccessible* object) {
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (FAILED(object->get_accName(self, &name)) || !name) return L"<none>";
    std::wstring text(name);
    SysFreeString(name);
    return text;
}

// A reader gets the control's own name, and no interface that would lead it
// to the standard object and its standard name.
TEST(Accessible, TheNamedObjectAnswersOnlyItsOwnInterfaces) {
    WNDCLASSW type{};
    type.lpfnWndProc = NamedControl;
    type.hInstance = GetModuleHandleW(nullptr);
    type.lpszClassName = L"VarnexNamedControl";
    RegisterClassW(&type);
    const HWND control = CreateWindowW(L"VarnexNamedControl", L"Standard", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                       type.hInstance, nullptr);
    ASSERT_NE(control, nullptr);
    IAccessible* object = nullptr;
    ASSERT_EQ(
        AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
        S_OK);
    EXPECT_EQ(NameOf(object), L"Saved comment");
    // IAccIdentity, which the system's oleacc.h declares only for newer
    // systems than the program's.
    const IID identity = {0x7852b78d, 0x1cfd, 0x41c1, {0xa6, 0x15, 0x9c, 0x0c, 0x85, 0x96, 0x0b, 0x5f}};
    for (const IID& refused : {__uuidof(IServiceProvider), identity, __uuidof(IEnumVARIANT), __uuidof(IPersist)}) {
        void* other = reinterpret_cast<void*>(1);
        EXPECT_EQ(object->QueryInterface(refused, &other), E_NOINTERFACE);
        EXPECT_EQ(other, nullptr);
    }
    IOleWindow* window = nullptr;
    ASSERT_EQ(object->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&window)), S_OK);
    HWND said = nullptr;
    EXPECT_TRUE(window->GetWindow(&said) == S_OK && said == control);
    IAccessible* back = nullptr;
    ASSERT_EQ(window->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&back)), S_OK);
    EXPECT_EQ(NameOf(back), L"Saved comment");
    // By name through IDispatch the standard object would answer: nothing.
    VARIANT self{}, result{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    DISPPARAMS params{&self, nullptr, 1, 0};
    EXPECT_TRUE(
        FAILED(object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &result, nullptr, nullptr)));
    back->Release();
    window->Release();
    object->Release();
    DestroyWindow(control);
}

// A question whose default is No takes Escape, as Enter, for No; boxes
// with a Cancel button, or Yes as their default, keep the system's keys.
TEST(DialogKeys, EscapeAnswersNoOnlyInAQuestionWhoseDefaultIsNo) {
    struct Case {
        UINT style;
        WPARAM key;
        int answer;
    } cases[] = {
        {MB_YESNO | MB_DEFBUTTON2, VK_ESCAPE, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, VK_RETURN, IDNO},
        {MB_YESNO, VK_RETURN, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, VK_ESCAPE, IDCANCEL},
        {MB_RETRYCANCEL | MB_DEFBUTTON2, VK_ESCAPE, IDCANCEL},
    };
    for (const Case& c : cases) {
        // The key comes once the box is up, as the player's would.
        std::thread player([&c] {
            HWND box = nullptr;
            for (int waited = 0; !box && waited < 5000; waited += 10) {
                Sleep(10);
                box = FindWindowA("#32770", "Question");
            }
            PostMessageA(box, WM_KEYDOWN, c.key, 1);
            PostMessageA(box, WM_KEYUP, c.key, 1 | (3u << 30));
        });
        int answer = 0;
        {
            const EscapeAnswersNo escape(c.style);
            answer = MessageBoxA(nullptr, "Close?", "Question", c.style);
        }
        player.join();
        EXPECT_EQ(answer, c.answer) << "style " << c.style << ", key " << c.key;
    }
}

HWND TopWindow(const wchar_t* caption) {
    return CreateWindowW(L"STATIC", caption, WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                         nullptr);
}

// When a box without owner closes, Windows activates another program's
// window: Varnex, which was in front, comes back. A player who switched to
// another program during a short call of the shell stays there.
TEST(Foreground, TheProgramInFrontComesBackWhenABoxCloses) {
    const HWND ours = TopWindow(L"Varnex"), game = TopWindow(L"Game");
    ASSERT_TRUE(ours && game);
    struct Case {
        HWND frontBefore;
        ULONGLONG answeredMs;
        DWORD callMs;
        HWND frontAfter;
    } cases[] = {
        {ours, ForegroundKept::kAnsweredMs, 2 * ForegroundKept::kAnsweredMs, ours},  // a box answered
        {ours, 0, 0, ours},  // a box certain to come
        {ours, ForegroundKept::kAnsweredMs, 0, game},  // a quick call, then a switch
        {game, 0, 0, game},  // already behind
    };
    for (const Case& c : cases) {
        SetForegroundWindow(c.frontBefore);
        ASSERT_EQ(GetForegroundWindow(), c.frontBefore);
        {
            const ForegroundKept kept({ours}, c.answeredMs);
            SetForegroundWindow(game);
            Sleep(c.callMs);
        }
        EXPECT_EQ(GetForegroundWindow(), c.frontAfter) << c.answeredMs << " " << c.callMs;
    }
    DestroyWindow(game);
    DestroyWindow(ours);
}

// The build puts varnexplanted.dll beside this program.
TEST(LibrarySearch, TheDllsBesideTheProgramAreNamedInTheRefusal) {
    const Text folder = ProgramFolder();
    const std::vector<Text> found = LibrariesIn(folder);
    EXPECT_NE(std::find(found.begin(), found.end(), "varnexplanted.dll"), found.end()) << folder;
    EXPECT_EQ(RefusalForLibrariesBeside(folder, {}), "");
    const Text why =
        "\r\nThis Windows lacks update KB2533623, with which a program keeps its own folder out of that "
        "search. Move varnex.exe into a folder of its own, or install the update, and start it again.";
    EXPECT_EQ(RefusalForLibrariesBeside("C:\\Downloads", {"version.dll", "dwmapi.dll"}),
              "Varnex does not start from the folder C:\\Downloads: it runs with administrator rights, and this "
              "Windows would load the libraries (DLL files) lying there into it in place of its own:\r\n\r\n"
              "version.dll\r\ndwmapi.dll\r\n" +
                  why);
    std::vector<Text> many;
    for (int i = 1; i <= 12; ++i) many.push_back("lib" + std::to_string(i) + ".dll");
    const Text refusal = RefusalForLibrariesBeside("C:\\Downloads", many);
    EXPECT_NE(refusal.find("lib9.dll\r\nlib10.dll\r\nand 2 more\r\n" + why), Text::npos) << refusal;
}

}  // namespace
}  // namespace varnex::frontend
