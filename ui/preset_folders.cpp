#include "ui/preset_folders.h"

namespace orvelo::ui {

const std::vector<PresetFolder>& PresetFolders() {
    static const std::vector<PresetFolder> folders = {
        {"Спектры (сервер 1)", 1, "/srv/spectra/spectra", "/mnt/spectra1/spectra"},
        {"Калибровки (сервер 1)", 1, "/srv/spectra/calibration", "/mnt/spectra1/calibration"},
        {"Архив (сервер 2)", 2, "/srv/spectra/archive", "/mnt/spectra2/archive"},
        {"", 0, "", ""},
        {"Мои спектры", 0, "~/Спектры", ""},
        {"Временная папка", 0, "/tmp", ""},
    };
    return folders;
}

std::string ComputerName(std::string_view hostName) { return std::string(hostName.substr(0, 15)); }

bool OnServer(std::string_view computerName, int server) {
    if (server == 1) return computerName == kServer1Name;
    if (server == 2) return computerName == kServer2Name;
    return false;
}

std::string PresetFolderPath(const PresetFolder& folder, bool naServere1, bool naServere2, const std::string& home) {
    const bool local = folder.server == 0 || (folder.server == 1 && naServere1) || (folder.server == 2 && naServere2);
    std::string path = local ? folder.localPath : folder.networkPath;
    if (path.rfind("~", 0) == 0) path = home + path.substr(1);
    return path;
}

}  // namespace orvelo::ui
