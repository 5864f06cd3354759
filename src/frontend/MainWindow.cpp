#include "frontend/MainWindow.hpp"

#include "frontend/ControlIds.hpp"
#include "forms/ListViews.hpp"
#include "frontend/Pictures.hpp"
#include "frontend/res/Resources.hpp"

namespace varnex::frontend {

using forms::ButtonView;
using forms::ControlView;
using forms::DirListView;
using forms::FileListView;
using forms::FormWindow;
using forms::FrameView;
using forms::Gate;
using forms::In;
using forms::LabelView;
using forms::ListBoxView;
using forms::MenuBar;
using forms::OptionView;
using forms::PictureView;
using forms::Scrolling;
using forms::TextStyle;
using forms::TextView;
using forms::TwipsRect;

namespace {

// What a screen reader says for the comment's dots.
constexpr const char* kCommentSaved = "Comment saved";
constexpr const char* kCommentChanged = "Comment changed, not saved";

// The containers: three columns above a bottom row.
constexpr TwipsRect kActiveFrame{120, 0, 4095, 7695};
constexpr TwipsRect kFolderFrame{4320, 0, 2295, 3015};
constexpr TwipsRect kSelectedFrame{4320, 3120, 2295, 2535};
constexpr TwipsRect kInformationFrame{4320, 5760, 2295, 1935};
constexpr TwipsRect kInactiveFrame{6720, 0, 3495, 5655};
constexpr TwipsRect kCommentFrame{6720, 5760, 3495, 1935};
constexpr TwipsRect kAddonSizeFrame{120, 7800, 1935, 615};
constexpr TwipsRect kFolderSizeFrame{2160, 7800, 2055, 615};

}  // namespace

MainWindow::MainWindow(AddonManager& app, Gate& gate, std::function<void()> gone)
    : FormWindow(gate), app_(app), gone_(std::move(gone)) {
    // Both items rename or write.
    menuBar_.AddMenu(app_.MenueFavorits,
                     {{MenuIds::LoadFavorits, app_.LoadFavorits}, {MenuIds::SaveFavorits, app_.SaveFavorits}},
                     MenuBar::Changes::Files);
    Create("VarnexMain", VARNEX_ICON, app_.Caption, SIZE{10305, 8865},
           WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    if (!IsOpen()) return;

    // Created in keyboard order: the active list first, then the inactive.
    const HWND file1 =
        Add<FileListView>({MainIds::File1, In(kActiveFrame, 120, 240, 3855, 7335)}, app_.File1, gate_).Handle();
    const HWND file2 =
        Add<FileListView>({MainIds::File2, In(kInactiveFrame, 120, 240, 3255, 5295)}, app_.File2, gate_).Handle();
    firstFocus_ = file1;

    // The option buttons are narrower than their captions; a screen reader
    // reads the label beside each instead.
    const std::vector<OptionButton*> choice{&app_.Option1, &app_.Option2, &app_.Option3};
    auto& option1 =
        Add<OptionView>({MainIds::Option1, In(kFolderFrame, 120, 360, 255, 255)}, app_.Option1, choice, gate_);
    auto& option2 =
        Add<OptionView>({MainIds::Option2, In(kFolderFrame, 120, 720, 255, 255)}, app_.Option2, choice, gate_);
    auto& option3 =
        Add<OptionView>({MainIds::Option3, In(kFolderFrame, 120, 1080, 255, 255)}, app_.Option3, choice, gate_);
    option1.SetAccessibleName([this] { return app_.Label2.Caption(); });
    option2.SetAccessibleName([this] { return app_.Label3.Caption(); });
    option3.SetAccessibleName([this] { return app_.Label4.Caption(); });
    Add<DirListView>({MainIds::Dir1, In(kFolderFrame, 120, 1320, 2055, 1440)}, app_.Dir1, gate_);

    // Each button acts on the addons of one list, where the keyboard goes
    // when the button hides itself.
    Add<ButtonView>({MainIds::Command3, In(kSelectedFrame, 120, 225, 2055, 360)}, app_.Command3, gate_)
        .ChangesFiles()
        .SetFocusHome(file2);
    Add<ButtonView>({MainIds::Command2, In(kSelectedFrame, 120, 600, 2055, 360)}, app_.Command2, gate_)
        .ChangesFiles()
        .SetFocusHome(file1);
    Add<ButtonView>({MainIds::Command6, In(kSelectedFrame, 120, 975, 2055, 360)}, app_.Command6, gate_)
        .ChangesFiles()
        .SetFocusHome(file2);
    Add<ButtonView>({MainIds::Command5, In(kSelectedFrame, 120, 1350, 2055, 360)}, app_.Command5, gate_)
        .ChangesFiles()
        .SetFocusHome(file1);
    // Created before the logo, so that it lies over the logo's lower part.
    Add<ButtonView>({MainIds::Command1, In(kSelectedFrame, 120, 2055, 2055, 360)}, app_.Command1, gate_)
        .ChangesFiles()
        .SetFocusHome(file2);
    Add<PictureView>({MainIds::Image1, In(kSelectedFrame, 105, 1755, 2085, 480)}, app_.Image1, PaintLogo);

    Add<ListBoxView>({MainIds::List1, In(kInformationFrame, 120, 240, 2055, 1575)}, app_.List1, Scrolling::Both);

    Add<TextView>({MainIds::Text1, In(kCommentFrame, 120, 240, 3255, 1095)}, app_.Text1,
                  TextStyle{.multiLine = true, .scrollBar = true}, gate_);
    Add<ButtonView>({MainIds::Save, In(kCommentFrame, 480, 1455, 2895, 360)}, app_.Save, gate_);
    // The dots say by their colour only.
    Add<PictureView>({MainIds::Image2, In(kCommentFrame, 120, 1530, 210, 210)}, app_.Image2, PaintGreenDot)
        .SetAccessibleName([] { return Text(kCommentSaved); });
    Add<PictureView>({MainIds::Image3, In(kCommentFrame, 120, 1530, 210, 210)}, app_.Image3, PaintRedDot)
        .SetAccessibleName([] { return Text(kCommentChanged); });

    Add<ListBoxView>({MainIds::addonsize, In(kAddonSizeFrame, 120, 240, 1695, 285)}, app_.addonsize, Scrolling::None);
    Add<ListBoxView>({MainIds::foldersize, In(kFolderSizeFrame, 120, 240, 1815, 285)}, app_.foldersize,
                     Scrolling::None);
    Add<ButtonView>({MainIds::Command4, {6720, 7875, 3495, 495}}, app_.Command4, gate_);

    // The labels beside the option buttons are their visible captions.
    const auto caption = [](OptionView& option, LabelView& label) {
        option.SetCaptionLabel(label.Handle());
        label.Caption(option.Handle());
    };
    caption(option1, Add<LabelView>({MainIds::Label2, In(kFolderFrame, 600, 390, 1575, 255)}, app_.Label2));
    caption(option2, Add<LabelView>({MainIds::Label3, In(kFolderFrame, 600, 750, 1575, 255)}, app_.Label3));
    caption(option3, Add<LabelView>({MainIds::Label4, In(kFolderFrame, 600, 1110, 1575, 255)}, app_.Label4));
    Add<LabelView>({MainIds::Label1, {120, 8520, 10095, 255}}, app_.Label1);

    // The pictures before these controls carry no text, so a screen reader
    // finds no name for them: each is named by the caption of its frame.
    const auto nameByFrame = [this](int id, const Frame& frame) {
        if (ControlView* view = View(id)) view->SetAccessibleName([&frame] { return frame.Caption(); });
    };
    nameByFrame(MainIds::File1, app_.File);
    nameByFrame(MainIds::File2, app_.Frame2);
    nameByFrame(MainIds::Dir1, app_.Frame3);
    nameByFrame(MainIds::List1, app_.Frame4);
    nameByFrame(MainIds::Text1, app_.Frame7);
    nameByFrame(MainIds::addonsize, app_.Frame5);
    nameByFrame(MainIds::foldersize, app_.Frame6);

    // The frames last: at the bottom, under the controls they group.
    Add<FrameView>({MainIds::File, kActiveFrame}, app_.File);
    Add<FrameView>({MainIds::Frame2, kInactiveFrame}, app_.Frame2);
    Add<FrameView>({MainIds::Frame3, kFolderFrame}, app_.Frame3);
    Add<FrameView>({MainIds::Frame1, kSelectedFrame}, app_.Frame1);
    Add<FrameView>({MainIds::Frame4, kInformationFrame}, app_.Frame4);
    Add<FrameView>({MainIds::Frame7, kCommentFrame}, app_.Frame7);
    Add<FrameView>({MainIds::Frame5, kAddonSizeFrame}, app_.Frame5);
    Add<FrameView>({MainIds::Frame6, kFolderSizeFrame}, app_.Frame6);
}

void MainWindow::Show(int showCommand) {
    SyncViews();
    ShowWindow(Handle(), showCommand);
    UpdateWindow(Handle());
    SetFocus(firstFocus_);
}

void MainWindow::OnClose() {
    // Closing through the frame writes nothing; the addon manager asks the
    // player first when that loses saved comments. Never while Windows ends
    // the session, which must not be held up. Asked in the middle of a
    // handler, the window closes once that handler has ended, also when
    // other input kept meanwhile was dropped.
    gate_.Run(
        [this] {
            if (sessionEnding_ || app_.AddonManager_Form_QueryUnload()) DestroyWindow(Handle());
        },
        Aim{.always = true});
}

void MainWindow::OnDestroyed() {
    if (gone_) gone_();
}

}  // namespace varnex::frontend
