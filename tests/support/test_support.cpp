#include "support/test_support.h"

#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

namespace Yomibon::Test {

std::filesystem::path DataDir() {
    return YB_TEST_DATA;
}

std::filesystem::path CorpusDir() {
    if (const char* env = std::getenv("YOMIBON_CORPUS")) return env;
    auto dir = std::filesystem::path(YB_SOURCE_DIR) / ".." / "shared" / "corpus" / "dev";
    std::error_code ec;
    return std::filesystem::is_directory(dir, ec) ? dir.lexically_normal()
                                                  : std::filesystem::path();
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

TempDir::TempDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("yomibon-test-" + std::to_string(getpid()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace Yomibon::Test
