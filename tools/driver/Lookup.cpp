// Finding the program's windows and controls, and reading what they show:
// texts, entries, checks, the keyboard's place, the names a screen reader
// reads, and whether a handler is under way.
#include "Driver.hpp"

#include <ole2.h>
#include <oleacc.h>

#include <algorithm>

namespace varnex::e2e {

std::string Narrow(const std::wstring& wide, UINT codePage) {
    std::string text(wide.size() * 3, '\0');
    text.resize(
        static_cast<std::size_t>(WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                                     text.data(), static_cast<int>(text.size()), nullptr, nullptr)));
    return text;
}

HWND Varnex::Window(const std::string& caption, const char* className, DWORD timeoutMs) const {
    struct Search {
        DWORD process;
        const std::string& caption;
        const char* className;
        HWND found = nullptr;
    } search{process_.dwProcessId, caption, className};
    const auto find = [](HWND window, LPARAM param) CALLBACK -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char text[256] = {}, name[64] = {};
        GetWindowTextA(window, text, sizeof text);
        GetClassNameA(window, name, sizeof name);
        if (process == s.process && IsWindowVisible(window) && s.caption == text &&
            (!s.className || std::string(s.className) == name))
            s.found = window;
        return s.found == nullptr;
    };
    Eventually(
        [&] {
            EnumWindows(find, reinterpret_cast<LPARAM>(&search));
            return search.found || WaitForExit(0);
        },
        timeoutMs);
    return search.found;
}

HWND Control(HWND window, int controlId) {
    std::pair<int, HWND> search{controlId, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM param) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<std::pair<int, HWND>*>(param);
            if (GetDlgCtrlID(child) == s.first) s.second = child;
            return s.second == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::string Text(HWND window) {
    std::wstring text(static_cast<std::size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return Narrow(text);
}

Lines Entries(HWND list) {
    Lines entries;
    for (LRESULT i = 0, count = SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring text(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        const LRESULT got = SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        // The program emptied the list meanwhile: what stood in it is read.
        if (length == LB_ERR || got == LB_ERR) break;
        text.resize(static_cast<std::size_t>(got));
        entries.push_back(Narrow(text));
    }
    return entries;
}

bool Visible(HWND main, int controlId) { return IsWindowVisible(Control(main, controlId)) != FALSE; }

bool Checked(HWND main, int controlId) {
    return SendMessageW(Control(main, controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

namespace {

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

// A visible top-level window of `process` with this caption, or of class
// #32770 when `caption` is null.
HWND TopLevel(DWORD process, const char* caption) {
    struct Search {
        DWORD process;
        const char* caption;
        HWND found = nullptr;
    } search{process, caption};
    EnumWindows(
        [](HWND window, LPARAM param) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<Search*>(param);
            char text[256] = {}, name[64] = {};
            GetWindowTextA(window, text, sizeof text);
            GetClassNameA(window, name, sizeof name);
            if (ProcessOf(window) == s.process && IsWindowVisible(window) &&
                (s.caption ? std::string(s.caption) == text : std::string(name) == "#32770"))
                s.found = window;
            return s.found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

HWND BoxOf(HWND window) { return TopLevel(ProcessOf(window), nullptr); }

bool Busy(HWND main) { return GetPropW(main, L"VarnexBusy") != nullptr; }

void WaitWhileBusy(HWND window, DWORD timeoutMs) {
    const HWND main = TopLevel(ProcessOf(window), kMainCaption);
    if (!main) return;
    Eventually(
        [&] {
            DWORD_PTR ignored = 0;
            if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored)) return !IsWindow(main);
            return !Busy(main) || BoxOf(main) != nullptr;
        },
        timeoutMs);
}

HWND Focus(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) ? thread.hwndFocus : nullptr;
}

std::string AccessibleName(HWND control) {
    struct Com {
        Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
        ~Com() { CoUninitialize(); }
    } com;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
        return "<no accessible object>";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT read = object->get_accName(self, &name);
    std::string text = SUCCEEDED(read) && name ? Narrow(name) : "<no name>";
    SysFreeString(name);
    object->Release();
    return text;
}

}  // namespace varnex::e2e
