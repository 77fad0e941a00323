// Helpers shared by the fuzz targets: the entry point's declaration and scratch files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace Yomibon::Fuzz {

// A folder of this process under the temporary folder, made on first use, for the targets
// whose reader takes a file name rather than bytes.
const std::filesystem::path& ScratchFolder();

// Writes the bytes to a file in the scratch folder and returns its path.
std::filesystem::path WriteScratchFile(std::string_view name, const uint8_t* data, size_t size);

// The bytes as a string view.
inline std::string_view Bytes(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace Yomibon::Fuzz
