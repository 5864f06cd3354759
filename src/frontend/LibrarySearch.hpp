// The libraries beside the program. Varnex runs with administrator rights
// and may lie in Downloads beside a planted DLL. Vista and 7 without update
// KB2533623 cannot take a program's own folder out of the search for the
// libraries that the system's own libraries load in turn: there Varnex does
// not start from a folder that holds any DLL.
#pragma once

#include <vector>

#include "text/ClassicText.hpp"

namespace varnex::frontend {

// Where the system cannot leave `folder` out of the search: the text of the
// box Varnex ends with, or "" when `libraries` (the DLL files in it) is
// empty and it may go on.
[[nodiscard]] Text RefusalForLibrariesBeside(const Text& folder, const std::vector<Text>& libraries);

// The folder of the running program, and the names of the DLL files in it.
[[nodiscard]] Text ProgramFolder();
[[nodiscard]] std::vector<Text> LibrariesIn(const Text& folder);

}  // namespace varnex::frontend
