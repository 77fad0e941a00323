// The text the benchmarks measure: the largest .txt of the corpus named by YOMIBON_CORPUS
// (as the tests take it), else of the corpus beside the checkout, else of the bundled samples.
#pragma once

#include <cstdlib>
#include <filesystem>

namespace Yomibon::Bench {

inline std::filesystem::path LargestText() {
    namespace fs = std::filesystem;
    const char* corpus = std::getenv("YOMIBON_CORPUS");
    for (fs::path dir :
         {fs::path(corpus ? corpus : ""), fs::path(YB_SOURCE_DIR) / "../shared/corpus/dev",
          fs::path(YB_SOURCE_DIR) / "data/samples"}) {
        if (dir.empty()) continue;
        std::error_code ec;
        if (!fs::is_directory(dir, ec)) continue;
        fs::path best;
        std::uintmax_t bestSize = 0;
        for (const auto& e : fs::recursive_directory_iterator(dir, ec)) {
            if (!e.is_regular_file() || e.path().extension() != ".txt") continue;
            if (e.file_size() > bestSize) bestSize = e.file_size(), best = e.path();
        }
        if (!best.empty()) return best;
    }
    return {};
}

}  // namespace Yomibon::Bench
