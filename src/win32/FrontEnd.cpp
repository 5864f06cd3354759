#include "win32/FrontEnd.hpp"

namespace varnex::win32 {

FrontEnd::FrontEnd(AddonManager& app) : app_(app) {
    gate_.SetSettle([this] { Sync(); });
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
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
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
        info_ = std::make_unique<InfoWindow>(*info, gate_, [this] { Closed(); });
        info_->PlaceBeside(Owner());
    }
    if (info_) info_->Sync();
}

void FrontEnd::PaintNow() {
    for (const HWND window : Windows()) RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HWND FrontEnd::Owner() const { return main_ ? main_->Handle() : nullptr; }

std::vector<HWND> FrontEnd::Windows() const {
    std::vector<HWND> windows;
    if (main_ && main_->IsOpen()) windows.push_back(main_->Handle());
    if (info_ && info_->IsOpen()) windows.push_back(info_->Handle());
    return windows;
}

void FrontEnd::Closed() {
    const bool mainOpen = main_ && main_->IsOpen();
    const bool infoShown = info_ && info_->Shown();
    if (!mainOpen && !infoShown) PostQuitMessage(0);
}

}  // namespace varnex::win32
