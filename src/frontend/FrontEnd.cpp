#include "frontend/FrontEnd.hpp"

#include "frontend/ControlIds.hpp"

namespace varnex::frontend {

using forms::Gate;

namespace {

// Well under the tenth of a second after which a window feels stuck: the
// rename under way when it is due (about 12 ms each in a folder of 5,000
// addons under Wine) and the painting itself still fit in it.
constexpr ULONGLONG kRepaintEveryMs = 40;

// Read by scripts: set from the start of a handler until it, every handler
// kept meanwhile and the input that came meanwhile have been taken.
constexpr const wchar_t* kBusyProperty = L"VarnexBusy";

// A handler that threw is reported in one box; the program goes on.
constexpr const char* kCouldNotFinish = "Varnex could not finish this action: ";

bool OwnedByThisThread(HWND window) {
    return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

// The cursor over a window of the program is asked for again, as a mouse
// move would, so that the end of a handler shows the arrow at once.
void RefreshCursor() {
    POINT point{};
    if (!GetCursorPos(&point)) return;
    const HWND under = WindowFromPoint(point);
    if (!OwnedByThisThread(under)) return;
    const LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

}  // namespace

FrontEnd::FrontEnd(AddonManager& app) : app_(app) {
    // The system takes no click on a window that a box keeps disabled.
    gate_.SetAccepts([](Gate::Source window) { return IsWindowEnabled(static_cast<HWND>(window)) != FALSE; });
    gate_.SetSettle([this] { Sync(); });
    gate_.SetBusyChanged([this](bool busy) { BusyChanged(busy); });
    // Both stamps only grow, so their sum moves whenever either list does.
    gate_.SetListings([this] { return app_.File1.ListingStamp() + app_.File2.ListingStamp(); });
    gate_.SetFailed([this](const std::string& what) { Failed(what); });
    gate_.SetDropped([this] {
        MessageBeep(MB_ICONWARNING);
        if (main_) main_->InvalidateViews();
        if (info_) info_->InvalidateViews();
        Sync();
    });
}

FrontEnd::~FrontEnd() = default;

bool FrontEnd::Open(int showCommand) {
    main_ = std::make_unique<MainWindow>(app_, gate_, [this] { Closed(); });
    if (!main_->IsOpen()) return false;
    main_->Show(showCommand);
    return true;
}

int FrontEnd::Run() {
    MSG message{};
    for (;;) {
        MarkBusyUntilInputTaken();
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
        if (DropsCloseMeantForInfo(message)) continue;
        if (main_->Navigate(message) || (info_ && info_->Navigate(message))) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void FrontEnd::Sync() {
    if (main_) main_->SyncViews();
    // The information window is made when the model first shows one.
    AddonInfo* info = app_.Info();
    if (info && !info_ && info->Visible()) {
        info_ = std::make_unique<InfoWindow>(*info, gate_, [this] {
            // The messages' times are the low 32 bits of the same clock.
            infoClosedAt_ = static_cast<DWORD>(GetTickCount64());
            infoClosed_ = true;
            Closed();
        });
        const HWND owner = Owner();
        // An information window must leave the active addons' list in sight.
        info_->PlaceBeside(owner, owner ? GetDlgItem(owner, MainIds::File) : nullptr);
    }
    if (info_) info_->Sync();
}

void FrontEnd::PaintNow() {
    for (const HWND window : Windows()) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

bool FrontEnd::ResponsiveDue() const { return gate_.Busy() && GetTickCount64() - painted_ >= kRepaintEveryMs; }

void FrontEnd::KeepResponsive() {
    Sync();
    // Messages sent by other programs are answered inside PeekMessage, and
    // the display's own events (a window uncovered) are taken in. Clicks
    // and keys are read now, against what the window shows, and kept by the
    // gate for when the handler has ended.
    MSG message;
    (void)PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    TakeAimedInput();
    PaintNow();
    (void)PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    painted_ = GetTickCount64();
}

void FrontEnd::TakeAimedInput() {
    // Clicks and keys are read against the window as the player sees it
    // now: the control clicked, the entry under the pointer, the text typed
    // into. The controls hand them to the gate, which keeps them for when the
    // handler has ended and runs them only if their target still stands.
    // Input that would start a loop of its own (moving the window, its close
    // box, a menu, the scroll bars, a context menu) and all that came after
    // it stay queued, in order, for the message loop.
    const auto takenNow = [](UINT message) {
        return (message >= WM_KEYDOWN && message <= WM_CHAR) ||
               (message >= WM_MOUSEMOVE && message <= WM_LBUTTONDBLCLK) || message == WM_MOUSEWHEEL ||
               message == WM_NCMOUSEMOVE || (message >= WM_NCMOUSEHOVER && message <= WM_MOUSELEAVE);
    };
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_INPUT) && takenNow(message.message)) {
        if (!PeekMessageA(&message, nullptr, message.message, message.message, PM_REMOVE)) break;
        if ((main_ && main_->Navigate(message)) || (info_ && info_->Navigate(message))) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HWND FrontEnd::Owner() const { return main_ ? main_->Handle() : nullptr; }

std::vector<HWND> FrontEnd::Windows() const {
    std::vector<HWND> windows;
    if (main_ && main_->IsOpen()) windows.push_back(main_->Handle());
    if (info_ && info_->IsOpen()) windows.push_back(info_->Handle());
    return windows;
}

bool FrontEnd::DropsCloseMeantForInfo(const MSG& message) {
    const HWND main = Owner();
    if (!main) return false;
    // Alt+F4 pressed while the information window was still open was the
    // player's close of that window, also when the window went first (an
    // Escape typed just before it): the key then reaches the main window,
    // which would close, and the program end, without a word. The key
    // itself goes on as usual, so that the system sees it used Alt; only
    // the close it asks for, which follows it before any other input, is
    // dropped with the warning beep.
    if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4) {
        closeMeantForInfo_ = infoClosed_ && (message.hwnd == main || IsChild(main, message.hwnd)) &&
                             static_cast<LONG>(message.time - infoClosedAt_) <= 0;
        return false;
    }
    if (!closeMeantForInfo_) return false;
    const bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                       (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST);
    if (input) closeMeantForInfo_ = false;
    if (message.message != WM_SYSCOMMAND || message.hwnd != main || (message.wParam & 0xFFF0) != SC_CLOSE) return false;
    closeMeantForInfo_ = false;
    MessageBeep(MB_ICONWARNING);
    return true;
}

void FrontEnd::Closed() {
    const bool mainOpen = main_ && main_->IsOpen();
    const bool infoShown = info_ && info_->Shown();
    if (!mainOpen && !infoShown) PostQuitMessage(0);
}

void FrontEnd::Failed(const std::string& what) {
    Text text = kCouldNotFinish + (what.empty() ? Text("an unexpected error") : Text(what));
    if (text.back() != '.') text += '.';
    const HWND owner = Owner();
    MessageBoxA(owner && IsWindow(owner) ? owner : nullptr, text.c_str(), kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
}

void FrontEnd::BusyChanged(bool busy) {
    if (busy) {
        painted_ = GetTickCount64();
        if (!marked_ && Owner()) SetPropW(Owner(), kBusyProperty, reinterpret_cast<HANDLE>(1));
        marked_ = true;
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    } else {
        RefreshCursor();
        MarkBusyUntilInputTaken();
    }
}

void FrontEnd::MarkBusyUntilInputTaken() {
    // Clicks and keys that came while a handler worked are still part of
    // what the player asked for: a script waiting for the program to be
    // done must also wait for them.
    // Asked of the messages themselves, not of the queue's status bits: Wine
    // may leave those set for input that no window will be handed.
    MSG pending;
    if (!marked_ || gate_.Busy() || PeekMessageW(&pending, nullptr, 0, 0, PM_NOREMOVE | PM_QS_INPUT)) return;
    if (Owner()) RemovePropW(Owner(), kBusyProperty);
    marked_ = false;
}

}  // namespace varnex::frontend
