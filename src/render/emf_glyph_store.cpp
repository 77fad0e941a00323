#include "render/emf_glyph_store.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "platform/paths.h"

namespace Yomibon {
namespace {

// A glyph file larger than this is no glyph; it is treated as missing.
constexpr std::uintmax_t kMaxGlyphFileBytes = 4u << 20;

struct GlyphState {
    std::u16string currentDir;
    std::u16string dataDir;
    std::map<std::u16string, std::string, std::less<>> store;
};

GlyphState& State() {
    static GlyphState state;
    return state;
}

bool IsPlainName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    return name.find_first_of(std::u16string_view(u"/\\\0", 3)) == std::u16string_view::npos;
}

bool ReadGlyphFile(const std::filesystem::path& path, std::string& bytes) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxGlyphFileBytes) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(size_t(size), '\0');
    in.read(bytes.data(), std::streamsize(size));
    return bool(in) || in.gcount() == std::streamsize(size);
}

std::string FindGlyph(std::u16string_view name) {
    std::u16string file = std::u16string(name) + u".emf";
    std::u16string current = EffectiveCurrentDirectory();
    std::filesystem::path candidates[] = {
        ToFsPath(current + u"/" + file),
        ToFsPath(current + u"/Font/" + file),
        ToFsPath(State().dataDir + u"/Font/" + file),
        ProgramFolder() / "Font" / ToFsPath(file),
    };
    std::string bytes;
    for (const auto& path : candidates) {
        if (path.empty()) continue;
        if (ReadGlyphFile(path, bytes)) return bytes;
    }
    return {};
}

}  // namespace

// What the store remembers was found in the old folders; a document in another folder
// may bring glyph files of its own, so a change of folder starts the store afresh.
void SetGlyphCurrentDirectory(std::u16string_view dir) {
    if (State().currentDir == dir) return;
    State().currentDir = dir;
    State().store.clear();
}

void SetGlyphDataDirectory(std::u16string_view dir) {
    if (State().dataDir == dir) return;
    State().dataDir = dir;
    State().store.clear();
}
const std::u16string& GlyphCurrentDirectory() {
    return State().currentDir;
}
const std::u16string& GlyphDataDirectory() {
    return State().dataDir;
}

std::u16string EffectiveCurrentDirectory() {
    if (!State().currentDir.empty()) return State().currentDir;
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    return ec ? std::u16string() : FromFsPath(cwd);
}

const std::string& ExternalGlyphBytes(std::u16string_view name) {
    auto& store = State().store;
    if (auto it = store.find(name); it != store.end()) return it->second;
    std::string bytes = IsPlainName(name) ? FindGlyph(name) : std::string();
    return store.emplace(std::u16string(name), std::move(bytes)).first->second;
}

void ClearExternalGlyphs() {
    State().store.clear();
}

}  // namespace Yomibon
