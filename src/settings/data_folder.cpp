#include "settings/data_folder.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/paths.h"
#include "settings/profile.h"

namespace Yomibon {
namespace {

constexpr int32_t kKeyAbsent = -1;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// XDG base folders must be absolute; a relative value is to be ignored.
std::filesystem::path XdgFolder(const std::string& value, const std::string& home,
                                const char* fallback) {
    if (!value.empty() && value.front() == '/') return std::filesystem::path(value) / "Yomibon";
    if (!home.empty() && home.front() == '/')
        return std::filesystem::path(home) / fallback / "Yomibon";
    return {};
}

bool CreateFolder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return !ec && std::filesystem::is_directory(folder, ec);
}

// A per-user folder starts with the layouts shipped beside the program, so that the layout
// files the settings name are found and can be edited and saved there. Files the user
// already has are never replaced.
void SeedLayouts(const std::filesystem::path& program, const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::path shipped = program / "Layout", own = folder / "Layout";
    if (std::filesystem::exists(own, ec) || !std::filesystem::is_directory(shipped, ec)) return;
    std::filesystem::copy(shipped, own, std::filesystem::copy_options::recursive, ec);
}

}  // namespace

DataFolderEnvironment DataFolderEnvironment::FromProcess(const std::filesystem::path& program) {
    DataFolderEnvironment env;
    env.xdgDataHome = Env("XDG_DATA_HOME");
    env.xdgConfigHome = Env("XDG_CONFIG_HOME");
    env.home = Env("HOME");
    env.programWritable = access(program.c_str(), W_OK) == 0;
    return env;
}

std::filesystem::path ComputeDataFolder(const std::filesystem::path& program,
                                        const DataFolderEnvironment& env) {
    int32_t use =
        ProfileGetInt(u"Yomibon", u"UseApplicationData", kKeyAbsent, program / "Yomibon.ini");
    bool perUser = use == 1 || (use == kKeyAbsent && !env.programWritable);
    if (!perUser) return program;
    for (const auto& folder : {XdgFolder(env.xdgDataHome, env.home, ".local/share"),
                               XdgFolder(env.xdgConfigHome, env.home, ".config")}) {
        if (folder.empty() || !CreateFolder(folder)) continue;
        SeedLayouts(program, folder);
        return folder;
    }
    return program;
}

const std::filesystem::path& DataFolder() {
    static const std::filesystem::path folder = [] {
        const auto& program = ProgramFolder();
        return ComputeDataFolder(program, DataFolderEnvironment::FromProcess(program));
    }();
    return folder;
}

std::filesystem::path SettingsFilePath() {
    return DataFolder() / "Yomibon.ini";
}

}  // namespace Yomibon
