// What the windows paint with GDI themselves, at any DPI: the three pictures
// of the main window (the logo, and the dots beside the comment box that
// tell a saved comment, green, from one edited and not saved, red), the
// lines of the folder list, and the focus round an option's caption.
#pragma once

#include "controls/Controls.hpp"
#include "win32/Windows.hpp"

namespace varnex::win32 {

void PaintLogo(HDC dc, const RECT& area, UINT dpi);
void PaintGreenDot(HDC dc, const RECT& area, UINT dpi);
void PaintRedDot(HDC dc, const RECT& area, UINT dpi);
// A line of the folder list: the folder mark, open or closed, indented by
// the folder's depth, then the folder's name.
void PaintFolderLine(const DRAWITEMSTRUCT& item, const FolderLine& line, bool open, UINT dpi);
// The focus rectangle round the text of a label that captions another
// control, drawn over what the label painted.
void PaintCaptionFocus(HWND label, const Text& caption);

}  // namespace varnex::win32
