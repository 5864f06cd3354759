#include "frontend/InfoWindow.hpp"

#include "frontend/ControlIds.hpp"
#include "frontend/res/Resources.hpp"

namespace varnex::frontend {

using forms::FormWindow;
using forms::FrameView;
using forms::Gate;
using forms::In;
using forms::TextStyle;
using forms::TextView;
using forms::TwipsRect;

namespace {

constexpr TwipsRect kFrame1{120, 120, 5535, 5895};
constexpr TwipsRect kFrame2 = In(kFrame1, 120, 240, 5295, 1575);
constexpr TwipsRect kFrame3 = In(kFrame1, 120, 1920, 5295, 1455);
constexpr TwipsRect kFrame4 = In(kFrame1, 120, 3480, 5295, 1455);
constexpr TwipsRect kFrame5 = In(kFrame1, 120, 4920, 5295, 855);
constexpr TwipsRect kFrame6 = In(kFrame4, 4320, 120, 855, 615);
constexpr TwipsRect kFrame7 = In(kFrame4, 4320, 720, 855, 615);

// The frames by number, each with how many frames lie round it.
struct FramePlace {
    int id;
    Frame AddonInfo::*model;
    TwipsRect place;
    int depth;
};
constexpr FramePlace kFrames[] = {
    {InfoIds::Frame1, &AddonInfo::Frame1, kFrame1, 0}, {InfoIds::Frame2, &AddonInfo::Frame2, kFrame2, 1},
    {InfoIds::Frame3, &AddonInfo::Frame3, kFrame3, 1}, {InfoIds::Frame4, &AddonInfo::Frame4, kFrame4, 1},
    {InfoIds::Frame5, &AddonInfo::Frame5, kFrame5, 1}, {InfoIds::Frame6, &AddonInfo::Frame6, kFrame6, 2},
    {InfoIds::Frame7, &AddonInfo::Frame7, kFrame7, 2},
};
constexpr int kDeepest = 2;

constexpr TextStyle kScrolling{.multiLine = true, .scrollBar = true, .readOnly = true};
constexpr TextStyle kMultiLine{.multiLine = true, .readOnly = true};
constexpr TextStyle kOneLine{.readOnly = true};

}  // namespace

InfoWindow::InfoWindow(AddonInfo& model, Gate& gate, std::function<void()> closed)
    : FormWindow(gate), model_(model), closed_(std::move(closed)) {
    Create("VarnexInfo", VARNEX_ICON, model_.Caption(), SIZE{5745, 6120},
           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    if (!IsOpen()) return;
    Add<TextView>({InfoIds::Text1, In(kFrame2, 120, 240, 5055, 1215)}, model_.Text1, kScrolling, gate_);
    Add<TextView>({InfoIds::Text2, In(kFrame3, 120, 240, 5055, 1095)}, model_.Text2, kScrolling, gate_);
    Add<TextView>({InfoIds::Text3, In(kFrame4, 120, 240, 4095, 1095)}, model_.Text3, kScrolling, gate_);
    Add<TextView>({InfoIds::Text5, In(kFrame6, 120, 240, 615, 285)}, model_.Text5, kOneLine, gate_);
    Add<TextView>({InfoIds::Text6, In(kFrame7, 120, 240, 615, 285)}, model_.Text6, kOneLine, gate_);
    Add<TextView>({InfoIds::Text4, In(kFrame5, 120, 240, 5055, 525)}, model_.Text4, kMultiLine, gate_);
    // Frames under their fields, inner frames over the outer ones.
    for (int depth = kDeepest; depth >= 0; --depth)
        for (const FramePlace& frame : kFrames)
            if (frame.depth == depth) Add<FrameView>({frame.id, frame.place}, model_.*frame.model);
}

void InfoWindow::Sync() {
    SyncViews();
    if (IsOpen() && Shown() != model_.Visible()) ShowWindow(Handle(), model_.Visible() ? SW_SHOW : SW_HIDE);
}

void InfoWindow::OnClose() {
    gate_.Run(
        [this] {
            model_.Unload();
            Sync();
            if (closed_) closed_();
        },
        Aim{.always = true});
}

}  // namespace varnex::frontend
