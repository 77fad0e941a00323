// The data folder: where settings, layouts, bookmarks and unpacked archives live.
#pragma once

#include <filesystem>
#include <string>

namespace Yomibon {

// What the data-folder rule looks at besides the program folder's Yomibon.ini.
struct DataFolderEnvironment {
    std::string xdgDataHome;    // $XDG_DATA_HOME (local application data)
    std::string xdgConfigHome;  // $XDG_CONFIG_HOME (roaming application data)
    std::string home;           // $HOME
    bool programWritable = true;

    // The values of the running process.
    static DataFolderEnvironment FromProcess(const std::filesystem::path& program);
};

// The rule: the program folder, unless its Yomibon.ini says UseApplicationData=1 in section
// "Yomibon": then the local per-user folder ($XDG_DATA_HOME/Yomibon, ~/.local/share/Yomibon),
// failing that the roaming one ($XDG_CONFIG_HOME/Yomibon, ~/.config/Yomibon), failing that
// the program folder. An installed program cannot write beside itself, so a program folder
// that is not writable counts as UseApplicationData=1 unless its Yomibon.ini sets the key.
// A per-user folder is created with its parents; when that fails the program folder is used.
// A per-user folder without a Layout folder receives a copy of the program folder's.
std::filesystem::path ComputeDataFolder(const std::filesystem::path& program,
                                        const DataFolderEnvironment& env);

// The rule for the running program, computed once.
const std::filesystem::path& DataFolder();

// The settings file: the data folder and "Yomibon" by "%s/%s.ini".
std::filesystem::path SettingsFilePath();

}  // namespace Yomibon
