#include "forms/Placement.hpp"

#include <algorithm>
#include <cstdint>

namespace varnex::forms {

int ToPixels(int twips, unsigned dpi) {
    // As the system's MulDiv rounds, so that every window and control agrees.
    const std::int64_t product = std::int64_t{twips} * dpi;
    const std::int64_t half = kTwipsPerInch / 2;
    return static_cast<int>((product < 0 ? product - half : product + half) / kTwipsPerInch);
}

Point KeptInside(const Box& window, const Box& work) {
    return {std::max(work.left, std::min(window.left, work.right - window.Width())),
            std::max(work.top, std::min(window.top, work.bottom - window.Height()))};
}

Point PlacedBeside(const Box& mine, const Box& theirs, const Box& keepClear, const Box& work) {
    const int width = mine.Width();
    int left = 0;
    if (theirs.right + width <= work.right) {
        left = theirs.right;
    } else if (theirs.left - width >= work.left) {
        left = theirs.left - width;
    } else if (work.right - width >= keepClear.right) {
        left = std::max(keepClear.right, std::min(theirs.right - width, work.right - width));
    } else if (keepClear.left - width >= work.left) {
        left = keepClear.left - width;
    } else {
        left = work.right - width;
    }
    return KeptInside(Box{left, theirs.top, left + width, theirs.top + mine.Height()}, work);
}

unsigned FittingDpi(Extent clientTwips, Extent frame, unsigned dpi, const Box& work) {
    const int width = work.Width() - frame.cx;
    const int height = work.Height() - frame.cy;
    const unsigned lowest = std::max(1u, dpi / 2);
    unsigned fitting = dpi;
    while (fitting > lowest &&
           (ToPixels(clientTwips.cx, fitting) > width || ToPixels(clientTwips.cy, fitting) > height))
        --fitting;
    return fitting;
}

}  // namespace varnex::forms
