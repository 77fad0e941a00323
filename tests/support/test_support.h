// Helpers shared by the tests.
#pragma once

#include <filesystem>
#include <string>

namespace Yomibon::Test {

// The repository's tests/data folder.
std::filesystem::path DataDir();
// The shared corpus folder (../shared/corpus/dev beside the repository), or an empty path
// when it is absent; tests that need it skip then.
std::filesystem::path CorpusDir();
std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace Yomibon::Test

#define YB_REQUIRE_CORPUS()                                                    \
    do {                                                                       \
        if (::Yomibon::Test::CorpusDir().empty()) GTEST_SKIP() << "no corpus"; \
    } while (0)
