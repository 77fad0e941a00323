// The program folder and the normal form of stored paths.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace Yomibon {

// The folder of the running executable (/proc/self/exe), computed once.
const std::filesystem::path& ProgramFolder();

// Normal form of every stored path: CR and LF removed, "\" turned into "/", "/./" into "/".
std::u16string NormalizePath(std::u16string_view path);

// Conversions at the edge to the file system (UTF-8 on disk).
std::filesystem::path ToFsPath(std::u16string_view path);
std::u16string FromFsPath(const std::filesystem::path& path);

}  // namespace Yomibon
