// The window code against the real window manager, in this process: a move
// to a monitor of another DPI, the accessible object of a control with a
// name of its own, the program kept in front across a box without owner,
// and the start-up check of the libraries beside the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>
#include <servprov.h>

#include "forms/Accessible.hpp"
#include "forms/Dpi.hpp"
#include "forms/FormWindow.hpp"
#include "frontend/Foreground.hpp"
#include "frontend/LibrarySearch.hpp"

namespace varnex::win32 {
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
TEST(Dpi, AMoveToAnotherDpiKeepsTheSuggestedPlaceAndSizesTheWindowToItsLayout) {
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
TEST(Accessible, TheNamedObjectAnswersOnlyItsOwnInterfacesAndEachGivesItsName) {
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

HWND TopWindow(const wchar_t* caption) {
    return CreateWindowW(L"STATIC", caption, WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                         nullptr);
}

// When a box without owner closes, Windows activates another program's
// window: Varnex, which was in front, comes back. A player who switched to
// another program during a short call of the shell stays there.
TEST(Foreground, TheProgramInFrontWhenABoxCameIsBroughtBackWhenItIsGone) {
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
TEST(LibrarySearch, TheDllsBesideTheProgramAreFoundAndNamedInTheBoxThatEndsIt) {
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
}  // namespace varnex::win32
