// The three pictures of the main window, painted with GDI at any DPI: the
// logo, and the dots beside the comment box that tell a saved comment,
// green, from one edited and not saved, red.
#pragma once

#include "forms/Windows.hpp"

namespace varnex::frontend {

void PaintLogo(HDC dc, const RECT& area, UINT dpi);
void PaintGreenDot(HDC dc, const RECT& area, UINT dpi);
void PaintRedDot(HDC dc, const RECT& area, UINT dpi);
}  // namespace varnex::frontend
