#pragma once
// The preset folders of the "Папки" submenu: the only configuration of the program. A server
// entry opens its local path on the file server itself and its network path everywhere else.
#include <string>
#include <string_view>
#include <vector>

namespace orvelo::ui {

inline constexpr const char* kServer1Name = "spectra1";
inline constexpr const char* kServer2Name = "spectra2";

struct PresetFolder {
    std::string caption;    // empty caption: the separator
    int server = 0;         // 0 none, 1 or 2
    std::string localPath;  // "~" at the start stands for the home folder
    std::string networkPath;
};

// Three server entries (two on server 1, one on server 2), a separator, two local folders.
const std::vector<PresetFolder>& PresetFolders();

// The computer name as the program keeps it: at most 15 characters.
std::string ComputerName(std::string_view hostName);

// NaServere1 / NaServere2: exact, case-sensitive comparison with the server names.
bool OnServer(std::string_view computerName, int server);

// StartPapka for an entry; `home` replaces a leading "~".
std::string PresetFolderPath(const PresetFolder& folder, bool naServere1, bool naServere2, const std::string& home);

}  // namespace orvelo::ui
