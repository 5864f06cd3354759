#include "info/AddonInfo.hpp"

#include "app/GlobaleVariables.hpp"

namespace varnex {

namespace {

struct Tag {
    const char* tag;
    const char* fallback;
};
// In the window's field order, Text1 to Text6.
constexpr Tag kTags[6] = {{"/x/units", "No entry"},  {"/x/info", "No entry"}, {"/x/comment", "No entry"},
                          {"/x/author", "No entry"}, {"/x/version", "-"},     {"/x/reqversion", "-"}};

}  // namespace

Text CompanionPath(const Text& addonPath) { return CutRight(addonPath, 4) + ".txt"; }

std::array<Text, 6> ReadTags(const Text& text) {
    std::array<Text, 6> values;
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string_view tag = kTags[i].tag;
        const std::size_t at = InStr(1, text, tag);
        if (at == 0) {
            values[i] = kTags[i].fallback;
            continue;
        }
        const std::size_t start = at + tag.size();
        const std::size_t end = InStr(start, text, "/x/");
        values[i] = end == 0 ? Mid(text, start) : Mid(text, start, end - start);
    }
    return values;
}

AddonInfo::AddonInfo(FileApi& files, FileNumbers& numbers, Desktop& desktop)
    : files_(files), numbers_(numbers), desktop_(desktop) {
    PresetTexts();
}

void AddonInfo::PresetTexts() {
    Text1.SetText("No entry\r\n");
    Text2.SetText("No entry\r\n");
    Text3.SetText("No entry\r\n");
    Text4.SetText("No entry");
    Text5.SetText("-");
    Text6.SetText("-");
}

void AddonInfo::Show() {
    if (!loaded_) {
        loaded_ = true;
        PresetTexts();
        AddonInfo_Form_Load();
    }
    visible_ = true;
}

void AddonInfo::Unload() {
    loaded_ = false;
    visible_ = false;
}

void AddonInfo::AddonInfo_Form_Load() {
    const Text& selectedPath = GlobaleVariables::SelectedPath;
    if (selectedPath.empty()) {
        (void)desktop_.MessageBox("No addon selected", "VARNX", kMbOk);
        return;
    }
    const Text path = CompanionPath(selectedPath);
    // A missing companion file reads as an empty one, which would be removed
    // again at once: leave the folder untouched instead. A folder that is
    // gone holds no companion either.
    if (!Held(path)) {
        (void)desktop_.MessageBox(
            "The information file " + path + " cannot be read: " + DescribeError(errc::kNameNotHeld) + ".", "VARNX",
            kMbOk | kMbIconExclamation);
        return;
    }
    std::int64_t length = 0;
    if (files_.FileLength(path, length).gone()) return;
    const std::int16_t number = numbers_.FreeFile();
    Text text;
    const IoStatus status = numbers_.ReadWhole(number, path, text);
    if (!status.ok()) {
        (void)desktop_.MessageBox(
            "The information file " + path + " cannot be read: " + DescribeError(status.code) + ".", "VARNX",
            kMbOk | kMbIconExclamation);
        return;
    }
    if (text.empty()) {
        // The read created it, or it was empty before: none is left behind.
        (void)files_.Delete(path);
        return;
    }
    const auto values = ReadTags(text);
    const auto fields = Fields();
    for (std::size_t i = 0; i < 6; ++i) fields[i]->SetText(values[i]);
}

}  // namespace varnex
