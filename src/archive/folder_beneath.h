// Walking to a folder beneath another one without following links, so that a link placed
// inside an extraction folder (by an archive or by anyone) never leads a write outside it.
#pragma once

#include <filesystem>

namespace Yomibon {

// Opens the folder at `relative` beneath the open folder `root`, one part at a time with
// O_NOFOLLOW | O_DIRECTORY; with `create`, missing parts are made. Returns a new descriptor,
// or -1 when a part is a link, is not a folder, climbs with "..", or cannot be made.
int OpenFolderBeneath(int root, const std::filesystem::path& relative, bool create);

// Owns one descriptor.
class CYbUniqueFd {
  public:
    explicit CYbUniqueFd(int fd = -1) : fd_(fd) {}
    ~CYbUniqueFd();
    CYbUniqueFd(const CYbUniqueFd&) = delete;
    CYbUniqueFd& operator=(const CYbUniqueFd&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

}  // namespace Yomibon
