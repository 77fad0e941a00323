#include "fuzz_support.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace Yomibon::Fuzz {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        // A folder of its own, never one a killed run of the same process number left behind
        // (its files would be taken for files this run wrote).
        std::string pattern =
            (std::filesystem::temp_directory_path() / "yomibon-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        return std::filesystem::path(pattern);
    }();
    // Registered once the path is made, so that it runs before the path is destroyed: the
    // folder goes when the process ends normally.
    static const bool removedAtExit = [] {
        return std::atexit([] {
                   std::error_code ec;
                   std::filesystem::remove_all(folder, ec);
               }) == 0;
    }();
    (void)removedAtExit;
    return folder;
}

std::filesystem::path WriteScratchFile(std::string_view name, const uint8_t* data, size_t size) {
    std::filesystem::path path = ScratchFolder() / std::string(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

}  // namespace Yomibon::Fuzz
