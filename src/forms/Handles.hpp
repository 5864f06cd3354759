// Owning wrappers for the Windows handles the front end creates, so that
// every font, brush, pen, icon, menu and top-level window is released
// exactly once however the function that made it is left.
#pragma once

#include "forms/Windows.hpp"

#include <memory>
#include <type_traits>

namespace varnex::forms {

struct WindowDeleter {
    void operator()(HWND hwnd) const { DestroyWindow(hwnd); }
};
// A top-level window. Child controls die with their parent and are held as
// plain HWNDs by their views.
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

template <class Handle>
struct GdiDeleter {
    void operator()(Handle handle) const { DeleteObject(handle); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter<HFONT>>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter<HBRUSH>>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, GdiDeleter<HPEN>>;

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
// A menu not yet attached to a window; the window created with it takes
// it over.
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// A window's device context, borrowed for one scope and given back.
class ScopedDC {
public:
    explicit ScopedDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedDC(const ScopedDC&) = delete;
    ScopedDC& operator=(const ScopedDC&) = delete;
    [[nodiscard]] HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a device context for one scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace varnex::forms
