// Names for screen readers, for controls whose window text is not what
// the player sees beside them.
#pragma once

#include "text/ClassicText.hpp"
#include "forms/Windows.hpp"

namespace varnex::forms {

// The answer to WM_GETOBJECT for the control's own object, or 0 for the
// standard answer.
LRESULT AnswerWithName(HWND control, WPARAM request, const Text& name);

}  // namespace varnex::forms
