#include "forms/Painting.hpp"

#include <algorithm>

#include "forms/Dpi.hpp"
#include "forms/Handles.hpp"

namespace varnex::forms {

namespace {

// A folder mark: a tab over a body; an open folder shows its front flap.
void DrawFolder(HDC dc, int left, int top, UINT dpi, bool open) {
    const int width = ToPixels(210, dpi), height = ToPixels(150, dpi), tab = std::max(2, height / 4);
    const UniquePen pen(CreatePen(PS_SOLID, 1, RGB(150, 110, 20)));
    const UniqueBrush back(CreateSolidBrush(RGB(225, 180, 60)));
    const UniqueBrush front(CreateSolidBrush(RGB(250, 215, 110)));
    const Selected penSelected(dc, pen.get());
    {
        const Selected brushSelected(dc, back.get());
        Rectangle(dc, left, top, left + width / 2, top + tab + 1);
        Rectangle(dc, left, top + tab, left + width, top + height);
    }
    const Selected brushSelected(dc, front.get());
    if (open) {
        const int shift = width / 4;
        const POINT flap[] = {{left + shift, top + tab + tab},
                              {left + width + shift / 2, top + tab + tab},
                              {left + width - shift / 2, top + height - 1},
                              {left, top + height - 1}};
        Polygon(dc, flap, 4);
    } else {
        Rectangle(dc, left, top + tab + tab / 2, left + width, top + height);
    }
}

}  // namespace

void PaintFolderLine(const DRAWITEMSTRUCT& item, const FolderLine& line, bool open, UINT dpi) {
    const HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    RECT area = item.rcItem;
    FillRect(dc, &area, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    const int left = area.left + ToPixels(45, dpi) + line.depth * ToPixels(165, dpi);
    const int top = area.top + (area.bottom - area.top - ToPixels(150, dpi)) / 2;
    DrawFolder(dc, left, top, dpi, open);

    RECT textArea = area;
    textArea.left = left + ToPixels(210 + 75, dpi);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextA(dc, line.text.c_str(), static_cast<int>(line.text.size()), &textArea,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(dc, &area);
}

void PaintCaptionFocus(HWND label, const Text& caption) {
    // Round the caption's text, as the system draws it round a button's own.
    const ScopedDC window(label);
    const HDC dc = window.get();
    const Selected font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    RECT client{}, text{};
    GetClientRect(label, &client);
    text = client;
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    RECT around{client.left, client.top, std::min(client.right, text.right + 2),
                std::min(client.bottom, text.bottom + 2)};
    DrawFocusRect(dc, &around);
}

}  // namespace varnex::forms
