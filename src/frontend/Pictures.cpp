#include "frontend/Pictures.hpp"

#include <algorithm>

#include "forms/Dpi.hpp"
#include "forms/Handles.hpp"

namespace varnex::frontend {

using forms::Selected;
using forms::ToPixels;
using forms::UniqueBrush;
using forms::UniqueFont;
using forms::UniquePen;

namespace {

int Mix(int from, int to, int step, int steps) { return from + (to - from) * step / std::max(1, steps); }

void PaintDot(HDC dc, const RECT& area, UINT dpi, COLORREF fill, COLORREF rim) {
    const int size = std::min(area.right - area.left, area.bottom - area.top);
    const int left = area.left, top = area.top;
    const UniquePen pen(CreatePen(PS_SOLID, std::max(1, ToPixels(15, dpi)), rim));
    const UniqueBrush brush(CreateSolidBrush(fill));
    {
        const Selected penSelected(dc, pen.get());
        const Selected brushSelected(dc, brush.get());
        Ellipse(dc, left, top, left + size, top + size);
    }
    // A small highlight so the dot reads as a lamp.
    const int glint = std::max(2, size / 4);
    const UniqueBrush light(
        CreateSolidBrush(RGB(std::min(255, GetRValue(fill) + 110), std::min(255, GetGValue(fill) + 110),
                             std::min(255, GetBValue(fill) + 110))));
    const Selected noPen(dc, GetStockObject(NULL_PEN));
    const Selected brushSelected(dc, light.get());
    Ellipse(dc, left + size / 4, top + size / 5, left + size / 4 + glint, top + size / 5 + glint);
}

constexpr COLORREF kGreen = RGB(30, 185, 45), kGreenRim = RGB(0, 95, 10);
constexpr COLORREF kRed = RGB(225, 35, 30), kRedRim = RGB(120, 0, 0);

}  // namespace

void PaintGreenDot(HDC dc, const RECT& area, UINT dpi) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    PaintDot(dc, area, dpi, kGreen, kGreenRim);
}

void PaintRedDot(HDC dc, const RECT& area, UINT dpi) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    PaintDot(dc, area, dpi, kRed, kRedRim);
}

void PaintLogo(HDC dc, const RECT& area, UINT dpi) {
    // Olive drab, darkening downwards.
    const int height = area.bottom - area.top;
    for (int row = 0; row < height; ++row) {
        const UniqueBrush band(
            CreateSolidBrush(RGB(Mix(104, 38, row, height), Mix(116, 46, row, height), Mix(66, 26, row, height))));
        const RECT line{area.left, area.top + row, area.right, area.top + row + 1};
        FillRect(dc, &line, band.get());
    }
    const UniqueBrush frame(CreateSolidBrush(RGB(30, 36, 20)));
    FrameRect(dc, &area, frame.get());

    // The name sits in the upper part: the delete button covers the lower.
    LOGFONTA face{};
    face.lfHeight = -ToPixels(225, dpi);
    face.lfWeight = FW_HEAVY;
    face.lfCharSet = ANSI_CHARSET;
    face.lfQuality = ANTIALIASED_QUALITY;
    lstrcpynA(face.lfFaceName, "Arial", LF_FACESIZE);
    const UniqueFont font(CreateFontIndirectA(&face));
    const Selected fontSelected(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    RECT text{area.left + ToPixels(90, dpi), area.top + ToPixels(15, dpi), area.right, area.top + ToPixels(285, dpi)};
    RECT shadow = text;
    OffsetRect(&shadow, 1, 1);
    SetTextColor(dc, RGB(20, 24, 12));
    DrawTextA(dc, "VARNEX", -1, &shadow, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SetTextColor(dc, RGB(236, 226, 180));
    DrawTextA(dc, "VARNEX", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);

    // On and off, the program's whole business, at the right.
    const int dot = ToPixels(150, dpi), gap = ToPixels(45, dpi);
    const int top = area.top + (ToPixels(300, dpi) - dot) / 2;
    const int right = area.right - ToPixels(90, dpi);
    PaintDot(dc, RECT{right - dot - gap - dot, top, right - dot - gap, top + dot}, dpi, kGreen, kGreenRim);
    PaintDot(dc, RECT{right - dot, top, right, top + dot}, dpi, kRed, kRedRim);
}

}  // namespace varnex::frontend
