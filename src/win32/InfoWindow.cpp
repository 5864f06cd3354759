#include "win32/InfoWindow.hpp"

namespace varnex::win32 {

namespace {

constexpr TwipsRect In(const TwipsRect& container, int left, int top, int width, int height) {
    return {container.left + left, container.top + top, width, height};
}

constexpr TwipsRect kFrame1{120, 120, 5535, 5895};
constexpr TwipsRect kFrame2 = In(kFrame1, 120, 240, 5295, 1575);
constexpr TwipsRect kFrame3 = In(kFrame1, 120, 1920, 5295, 1455);
constexpr TwipsRect kFrame4 = In(kFrame1, 120, 3480, 5295, 1455);
constexpr TwipsRect kFrame5 = In(kFrame1, 120, 4920, 5295, 855);
constexpr TwipsRect kFrame6 = In(kFrame4, 4320, 120, 855, 615);
constexpr TwipsRect kFrame7 = In(kFrame4, 4320, 720, 855, 615);

constexpr TextStyle kScrolling{true, true, true};
constexpr TextStyle kMultiLine{true, false, true};
constexpr TextStyle kOneLine{false, false, true};

}  // namespace

InfoWindow::InfoWindow(AddonInfo& model, Gate& gate, std::function<void()> closed)
    : FormWindow(gate), model_(model), closed_(std::move(closed)) {
    Create("VarnexInfo", model_.Caption(), SIZE{5745, 6120}, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
           nullptr);
    if (!IsOpen()) return;
    Add<TextView>({1311, In(kFrame2, 120, 240, 5055, 1215)}, model_.Text1, kScrolling, gate_);
    Add<TextView>({1312, In(kFrame3, 120, 240, 5055, 1095)}, model_.Text2, kScrolling, gate_);
    Add<TextView>({1313, In(kFrame4, 120, 240, 4095, 1095)}, model_.Text3, kScrolling, gate_);
    Add<TextView>({1315, In(kFrame6, 120, 240, 615, 285)}, model_.Text5, kOneLine, gate_);
    Add<TextView>({1316, In(kFrame7, 120, 240, 615, 285)}, model_.Text6, kOneLine, gate_);
    Add<TextView>({1314, In(kFrame5, 120, 240, 5055, 525)}, model_.Text4, kMultiLine, gate_);
    // Frames under their fields, inner frames over the outer ones.
    Add<FrameView>({1306, kFrame6}, model_.Frame6);
    Add<FrameView>({1307, kFrame7}, model_.Frame7);
    Add<FrameView>({1302, kFrame2}, model_.Frame2);
    Add<FrameView>({1303, kFrame3}, model_.Frame3);
    Add<FrameView>({1304, kFrame4}, model_.Frame4);
    Add<FrameView>({1305, kFrame5}, model_.Frame5);
    Add<FrameView>({1301, kFrame1}, model_.Frame1);
}

void InfoWindow::Sync() {
    SyncViews();
    if (IsOpen() && Shown() != model_.Visible()) ShowWindow(Handle(), model_.Visible() ? SW_SHOW : SW_HIDE);
}

void InfoWindow::OnClose() {
    gate_.Run([this] {
        model_.Unload();
        Sync();
        if (closed_) closed_();
    });
}

}  // namespace varnex::win32
