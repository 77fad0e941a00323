// Makes a folder the current directory for a scope and restores the previous one on every
// way out, so that relative paths are taken from that folder meanwhile.
#pragma once

#include <filesystem>

namespace Yomibon {

class CYbCurrentDirectory {
  public:
    explicit CYbCurrentDirectory(const std::filesystem::path& folder);
    ~CYbCurrentDirectory();
    CYbCurrentDirectory(const CYbCurrentDirectory&) = delete;
    CYbCurrentDirectory& operator=(const CYbCurrentDirectory&) = delete;

    // False when the folder could not be made current (relative paths then stay relative
    // to the previous directory).
    bool changed() const { return changed_; }

  private:
    std::filesystem::path previous_;
    bool changed_ = false;
};

}  // namespace Yomibon
