#include "support/Fixture.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "app/GlobaleVariables.hpp"

namespace varnex::testing {

namespace fs = std::filesystem;

Emulation::Emulation() {
    Text templ = (fs::temp_directory_path() / "varnex-test-XXXXXX").string();
    root = ::mkdtemp(templ.data());
    files = std::make_unique<emulated::Files>(std::map<char, fs::path>{{'C', root}});
    shell = std::make_unique<emulated::Shell>(*files);
    shell->recycleBin = root / "$Recycle.Bin";
    GlobaleVariables::SelectedPath.clear();
}

Emulation::~Emulation() {
    std::error_code ec;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ec);
    for (auto& entry : fs::recursive_directory_iterator(root, ec))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root, ec);
}

void Emulation::InstallGame(bool expansion) {
    registry.SetString(kGameKey, "Main", "C:\\Games\\OFP\\");
    fs::create_directories(files->HostPath(kAddons));
    if (expansion) {
        registry.SetString(kExpansionKey, "Main", "C:\\Games\\OFP\\Res");
        fs::create_directories(files->HostPath(kResAddons));
    }
}

void Emulation::Write(const Text& windowsPath, const std::string& bytes) {
    const fs::path host = files->HostPath(windowsPath);
    fs::create_directories(host.parent_path());
    std::ofstream(host, std::ios::binary) << bytes;
}

bool Emulation::Exists(const Text& windowsPath) const { return fs::exists(files->HostPath(windowsPath)); }

std::string Emulation::Read(const Text& windowsPath) const {
    std::ifstream in(files->HostPath(windowsPath), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<Text> Emulation::Names(const Text& windowsFolder) const {
    std::vector<Text> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(files->HostPath(windowsFolder), ec))
        if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

AppTest::AppTest() = default;

AddonManager& AppTest::Start() {
    app = std::make_unique<AddonManager>(emu.platform());
    app->AddonManager_Form_Load();
    return *app;
}

std::vector<Text> Lines(const ListBox& list) { return list.Items(); }

std::vector<Text> Names(const FileListBox& list) {
    std::vector<Text> names;
    for (const auto& e : list.Entries()) names.push_back(e.name);
    return names;
}

Text InAddons(const Text& name) { return Text(kAddons) + "\\" + name; }

void ClickOn(FileListBox& list, const Text& name) {
    const auto names = Names(list);
    const auto at = std::find(names.begin(), names.end(), name);
    if (at == names.end()) {
        ADD_FAILURE() << name << " is not listed";
        return;
    }
    list.SetListIndex(static_cast<int>(at - names.begin()));
}

}  // namespace varnex::testing
