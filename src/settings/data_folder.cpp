#include "settings/data_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/paths.h"

namespace Yomibon {
namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    size_t e = s.find_last_not_of(" \t\r\n");
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// UseApplicationData from section "Yomibon" of the program folder's Yomibon.ini;
// -1 when the file or the key is absent.
int ReadUseApplicationData(const std::filesystem::path& ini) {
    std::ifstream in(ini);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[Yomibon]";
            continue;
        }
        size_t eq = line.find('=');
        if (inSection && eq != std::string::npos && Trim(line.substr(0, eq)) == "UseApplicationData")
            return std::atoi(Trim(line.substr(eq + 1)).c_str());
    }
    return -1;
}

std::filesystem::path UserFolder() {
    const char* home = std::getenv("HOME");
    if (const char* d = std::getenv("XDG_DATA_HOME"); d && *d) return std::filesystem::path(d) / "Yomibon";
    if (home && *home) return std::filesystem::path(home) / ".local/share/Yomibon";
    if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && *c)
        return std::filesystem::path(c) / "Yomibon";
    return {};
}

std::filesystem::path ComputeDataFolder() {
    const auto& program = ProgramFolder();
    int use = ReadUseApplicationData(program / "Yomibon.ini");
    // An installed program cannot write beside itself: use the per-user folder then,
    // unless the program folder's own file says otherwise.
    bool wantUser = use == 1 || (use < 0 && access(program.c_str(), W_OK) != 0);
    if (!wantUser) return program;
    std::filesystem::path user = UserFolder();
    if (user.empty()) return program;
    std::error_code ec;
    std::filesystem::create_directories(user, ec);
    return ec ? program : user;
}

}  // namespace

const std::filesystem::path& DataFolder() {
    static const std::filesystem::path folder = ComputeDataFolder();
    return folder;
}

}  // namespace Yomibon
