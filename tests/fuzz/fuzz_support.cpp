#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace Yomibon::Fuzz {

const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("yomibon-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        // Left behind by nothing: the folder goes when the process ends normally.
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return path;
    }();
    return folder;
}

std::filesystem::path WriteScratchFile(std::string_view name, const uint8_t* data, size_t size) {
    std::filesystem::path path = ScratchFolder() / std::string(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

}  // namespace Yomibon::Fuzz
