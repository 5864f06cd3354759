// Where a window goes and how large its layout may be, in plain numbers:
// boxes in screen pixels in, a box, a corner or a DPI out. No Windows header,
// so that the rules are tested natively, monitors of every size and place
// included.
#pragma once

namespace varnex::forms {

inline constexpr int kTwipsPerInch = 1440;

// A rectangle as the system gives one: right and bottom lie just outside.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    [[nodiscard]] int Width() const { return right - left; }
    [[nodiscard]] int Height() const { return bottom - top; }
    bool operator==(const Box&) const = default;
};

struct Point {
    int x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

struct Extent {
    int cx = 0, cy = 0;
};

// `twips` at `dpi`, rounded to the nearest pixel (halves away from zero).
[[nodiscard]] int ToPixels(int twips, unsigned dpi);

// The top left corner that moves `window` by as little as it takes to lie
// inside `work`; a window larger than `work` keeps its top left corner in it.
[[nodiscard]] Point KeptInside(const Box& window, const Box& work);

// The top left corner of `mine` beside `theirs`, at its top: right of it
// where `work` has room, else left of it; otherwise over it, clear of
// `keepClear` (what of `theirs` must stay in sight) where `work` has room
// for that, right of it first. Always inside `work`.
[[nodiscard]] Point PlacedBeside(const Box& mine, const Box& theirs, const Box& keepClear, const Box& work);

// The DPI to lay out a client area of `clientTwips` at, so that it and a
// `frame` (the frame, caption and menu bar at the monitor's `dpi`, which
// cannot give way) fit `work`: `dpi` itself where it fits, else the largest
// lower one that does, never below half of it, where the text could no
// longer be read.
[[nodiscard]] unsigned FittingDpi(Extent clientTwips, Extent frame, unsigned dpi, const Box& work);

}  // namespace varnex::forms
