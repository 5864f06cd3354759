// The top-level windows as the system keeps them: their class, their frame
// on the screen, and the program's box in front of them.
#pragma once

#include "forms/Windows.hpp"

namespace varnex::forms {

// Registers the class of the program's top-level windows once, with the
// icon of the program's resource `icon`.
void RegisterFormClass(HINSTANCE instance, const char* className, int icon, WNDPROC procedure);
// The part of a window that can be seen. On Windows 10 and 11 the window's
// rectangle also holds invisible borders for resizing, several pixels wide:
// a window placed by it would leave a gap beside the other, or hang out of
// the work area.
[[nodiscard]] RECT VisibleFrame(HWND window);
// Moves `window` so that its visible frame's top left corner lies at `left`, `top`.
void MoveVisibleFrame(HWND window, int left, int top);
// A click on a window while a box of the program keeps it disabled: the box
// comes to the front, as it does for the box's own owner.
void BringBoxForward();

}  // namespace varnex::forms
