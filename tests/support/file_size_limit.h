// Makes every write that would grow a file past a few bytes fail (EFBIG) for the life of
// the object, as a full disk would, whoever runs the test (root included).
#pragma once

#include <sys/resource.h>

#include <csignal>

namespace Yomibon::Test {

class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        // Past the limit the kernel raises SIGXFSZ, which would end the test program.
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

}  // namespace Yomibon::Test
