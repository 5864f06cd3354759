// What the control views paint with GDI themselves, at any DPI: the lines
// of the folder list, and the focus round an option's caption.
#pragma once

#include "controls/Controls.hpp"
#include "forms/Windows.hpp"

namespace varnex::forms {

// A line of the folder list: the folder mark, open or closed, indented by
// the folder's depth, then the folder's name.
void PaintFolderLine(const DRAWITEMSTRUCT& item, const FolderLine& line, bool open, UINT dpi);
// The focus rectangle round the text of a label that captions another
// control, drawn over what the label painted.
void PaintCaptionFocus(HWND label, const Text& caption);

}  // namespace varnex::forms
