#include "settings/current_directory.h"

namespace Yomibon {

CYbCurrentDirectory::CYbCurrentDirectory(const std::filesystem::path& folder) {
    std::error_code ec;
    previous_ = std::filesystem::current_path(ec);
    if (ec || folder.empty()) return;
    std::filesystem::current_path(folder, ec);
    changed_ = !ec;
}

CYbCurrentDirectory::~CYbCurrentDirectory() {
    if (!changed_) return;
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
}

}  // namespace Yomibon
