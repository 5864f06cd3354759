// Models of the window controls: their properties and events, and nothing
// of windows. Setting a property from code raises the control's event at
// once, the way the handlers expect. Every change bumps a revision so the
// front end mirrors only what changed.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "controls/Aim.hpp"
#include "platform/Platform.hpp"
#include "text/ClassicText.hpp"

namespace varnex {

using Event = std::function<void()>;

inline constexpr std::uint32_t kColorButtonText = 0x80000012u;
inline constexpr std::uint32_t kColorGrayText = 0x80000011u;

class Control {
public:
    explicit Control(Text caption = {}) : caption_(std::move(caption)) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    [[nodiscard]] bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    [[nodiscard]] bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    [[nodiscard]] const Text& Caption() const { return caption_; }
    void SetCaption(const Text& caption);
    [[nodiscard]] std::uint64_t Revision() const { return revision_; }

protected:
    void Touch() { ++revision_; }
    // Sets a property, counting a revision only when its value changes.
    template <class T>
    void Change(T& property, const T& value) {
        if (property == value) return;
        property = value;
        Touch();
    }

private:
    bool visible_ = true;
    bool enabled_ = true;
    Text caption_;
    std::uint64_t revision_ = 1;
};

class Frame : public Control {
    using Control::Control;
};

class PictureBox : public Control {
    using Control::Control;
};

class Label : public Control {
public:
    using Control::Control;
    [[nodiscard]] std::uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(std::uint32_t color);

private:
    std::uint32_t foreColor_ = kColorButtonText;
};

class CommandButton : public Control {
public:
    using Control::Control;
    Event Click;
};

// An entry of a menu: a menu's title, or an item the player chooses.
class MenuItem : public Control {
public:
    using Control::Control;
    Event Click;
};

class OptionButton : public Control {
public:
    using Control::Control;
    [[nodiscard]] bool Value() const { return value_; }
    // Selecting one button of a group is the front end's business; handlers
    // that run another button's handling leave this untouched.
    void SetValue(bool value);
    Event Click;

private:
    bool value_ = false;
};

class ListBox : public Control {
public:
    using Control::Control;
    void AddItem(const Text& item);
    void Clear();
    [[nodiscard]] int ListCount() const { return static_cast<int>(items_.size()); }
    [[nodiscard]] const std::vector<Text>& Items() const { return items_; }

private:
    std::vector<Text> items_;
};

// The multi-line comment box. Its change event runs on every change of the
// text, typed by the player or set by code.
class TextBox : public Control {
public:
    using Control::Control;
    [[nodiscard]] const Text& GetText() const;
    void SetText(const Text& text);
    // The player typed `text`, whose letters `unheld` (named by the window,
    // "U+0141 U+0422") the code page does not hold: `text` holds what the
    // code page made of them. Setting a text from code clears them.
    void SetTyped(const Text& text, const Text& unheld);
    [[nodiscard]] const Text& Unheld() const { return unheld_; }
    // A text worked out only when it is read: a walk fills the box for every
    // entry it passes, and only the last of those texts is ever seen. Raises
    // no change event; the caller sets what that event would have set.
    void SetTextLater(std::function<Text()> compute);
    // Typing kept while a handler runs replaces the text it was typed over,
    // and nothing else: a handler that put another text in meanwhile wins.
    [[nodiscard]] Aim AimOver(Text under) const;
    Event Change;

private:
    mutable Text text_;
    mutable std::function<Text()> pending_;
    Text unheld_;
};

// The reads of one folder shared by the file lists that show it. Handlers
// re-read both lists together after every change they make, so a read made
// since a list asked to be re-read serves that list too: a folder of
// thousands of addons is listed once for both lists.
class FolderReads {
public:
    explicit FolderReads(FileApi& files) : files_(files) {}
    // The moment now: reads made from here on are newer than it.
    [[nodiscard]] std::uint64_t Now() const { return reads_; }
    // Every entry of `folder`, files and folders, as read after `since`.
    IoStatus Read(const Text& folder, std::uint64_t since, const std::vector<DirEntry>*& entries);

private:
    FileApi& files_;
    Text folder_;
    std::vector<DirEntry> entries_;
    IoStatus status_;
    std::uint64_t reads_ = 0;  // the number of the last read
};

// Files of one folder whose names match a pattern, without regard to letter
// case, sorted by name without regard to letter case. Setting the path
// raises nothing; setting the current item from code raises the click
// handling exactly as a player's click does.
class FileListBox : public Control {
public:
    FileListBox(FolderReads& reads, Text pattern) : reads_(reads), pattern_(std::move(pattern)) {}

    [[nodiscard]] const Text& Path() const { return path_; }
    void SetPath(const Text& path);
    [[nodiscard]] const Text& Pattern() const { return pattern_; }
    // Asks for the folder to be read again at the next ReadPending. The
    // current entry stays current while a file of its name is still there,
    // so the highlighted entry keeps matching the details shown for it; no
    // click handling is raised.
    void Refresh();
    // Reads the folder if a new path or a Refresh asked for it since the
    // last read. The handlers ask both lists of a folder first and read
    // them after, so that a folder of thousands of addons is listed once
    // for both.
    void ReadPending();

    // What the last read found: the getters never read.
    [[nodiscard]] int ListCount() const { return static_cast<int>(entries_.size()); }
    [[nodiscard]] int ListIndex() const { return listIndex_; }
    // An index outside the list changes nothing and raises nothing.
    void SetListIndex(int index);
    // Moves the current item without raising the click handling: the window
    // already moved it as the first half of a double click, whose handling
    // runs the click handling itself.
    void Highlight(int index);
    // A click kept while a handler runs acts only on the name the player
    // clicked, shown at `index` (none: below the last entry): a re-read
    // meanwhile may have put another one there.
    [[nodiscard]] Aim AimAt(int index, Text name);
    [[nodiscard]] Text FileName() const { return listIndex_ < 0 ? Text() : List(listIndex_); }
    [[nodiscard]] const Text& List(int index) const { return entries_[static_cast<std::size_t>(index)].name; }
    // Size in bytes as the listing read it.
    [[nodiscard]] std::int64_t ListedSize(int index) const { return entries_[static_cast<std::size_t>(index)].size; }
    [[nodiscard]] const std::vector<DirEntry>& Entries() const { return entries_; }
    // Bumped on every read, so a view can tell a new listing from a move of
    // the current item.
    [[nodiscard]] std::uint64_t ListingRevision() const { return listingRevision_; }
    // Moves whenever the list is read anew or is due to be: input kept
    // during a handler tells by it whether the list changed.
    [[nodiscard]] std::uint64_t ListingStamp() const { return listingRevision_ * 2 + (unread_ ? 1 : 0); }
    // Why the folder could not be read when it was last read, 0 when it was:
    // the list then shows no entry.
    [[nodiscard]] std::uint32_t ReadError() const { return readError_; }

    Event Click;
    Event DblClick;

private:
    FolderReads& reads_;
    Text path_;
    Text pattern_;
    std::uint64_t readAfter_ = 0;  // the moment the list last asked to be re-read

    std::vector<DirEntry> entries_;
    bool unread_ = false;
    int listIndex_ = -1;
    std::uint64_t listingRevision_ = 0;
    std::uint32_t readError_ = 0;
};

// One line of the folder list: the drive root, the folders down to the
// current one, then the current folder's subfolders.
struct FolderLine {
    Text text;  // "C:\" for the root, else the folder's name
    Text path;  // the full path the line stands for
    int depth = 0;
    bool current = false;
};

// The folder list. Its path is the text it was given or the one built from
// the names as the disk spells them when the player moves; a change to a
// different path raises the change handling at once.
class DirListBox : public Control {
public:
    explicit DirListBox(FileApi& files) : files_(files) {}

    [[nodiscard]] const Text& Path() const { return path_; }
    void SetPath(const Text& path);
    // Reads the lines to show from the disk. A path that does not exist
    // shows the nearest folder above it that does.
    [[nodiscard]] std::vector<FolderLine> ReadLines() const;
    // A double click kept while a handler runs opens a folder only from the
    // folder the list shows now, and only while the list still takes input:
    // a handler meanwhile may have moved it, or hidden it for a fixed folder.
    [[nodiscard]] Aim AimHere() const;
    Event Change;

private:
    FileApi& files_;
    Text path_;
};

// The open and save dialogs of the favorites lists. The file name is kept
// between uses, so each dialog starts with the name last chosen.
class CommonDialog {
public:
    Text InitDir;
    Text Filter;
    int FilterIndex = 0;
    Text FileName;
    Text DialogTitle;
    Text DefaultExt;
    std::uint32_t Flags = 0;

    void ShowOpen(Desktop& desktop);
    void ShowSave(Desktop& desktop);

private:
    [[nodiscard]] FileDialogSetup Setup() const;
};

}  // namespace varnex
