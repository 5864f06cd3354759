// The program-wide variables shared by both windows.
#pragma once

#include "text/ClassicText.hpp"

namespace varnex::GlobaleVariables {

// Full path of the file last clicked (or walked) in either addon list; the
// information window reads it.
inline Text SelectedPath;

}  // namespace varnex::GlobaleVariables
