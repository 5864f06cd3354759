#include "frontend/LibrarySearch.hpp"

#include <algorithm>
#include <string>

#include "forms/Windows.hpp"
#include "platform/win32/CodePage.hpp"

namespace varnex::frontend {

namespace {

// The box stays readable however many there are.
constexpr std::size_t kNamed = 10;

}  // namespace

Text RefusalForLibrariesBeside(const Text& folder, const std::vector<Text>& libraries) {
    if (libraries.empty()) return {};
    Text names;
    for (std::size_t i = 0; i < std::min(libraries.size(), kNamed); ++i) names += libraries[i] + "\r\n";
    if (libraries.size() > kNamed) names += "and " + std::to_string(libraries.size() - kNamed) + " more\r\n";
    return "Varnex does not start from the folder " + folder + ": it runs with administrator rights, and this " +
           "Windows would load the libraries (DLL files) lying there into it in place of its own:\r\n\r\n" + names +
           "\r\nThis Windows lacks update KB2533623, with which a program keeps its own folder out of that " +
           "search. Move varnex.exe into a folder of its own, or install the update, and start it again.";
}

Text ProgramFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? Text() : platform::win32::Narrow(std::wstring_view(path).substr(0, slash));
}

std::vector<Text> LibrariesIn(const Text& folder) {
    std::vector<Text> libraries;
    if (folder.empty()) return libraries;
    WIN32_FIND_DATAW found{};
    const HANDLE find = FindFirstFileW((platform::win32::Widen(folder) + L"\\*.dll").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return libraries;
    do {
        // "*.dll" also finds longer extensions through their short names.
        const Text name = platform::win32::Narrow(found.cFileName);
        const bool file = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        if (file && name.size() > 4 && EqualIgnoringCase(name.substr(name.size() - 4), ".dll"))
            libraries.push_back(name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    std::sort(libraries.begin(), libraries.end());
    return libraries;
}

}  // namespace varnex::frontend
