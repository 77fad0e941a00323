#include "render/pict_spi_renderer.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "platform/paths.h"
#include "platform/utf16.h"

namespace Yomibon {

namespace {

bool IsPluginName(const std::filesystem::path& name) {
    std::string text = name.filename().string();
    if (text.size() < 5) return false;
    std::string ext = text.substr(text.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return ext == ".spi";
}

// The first bytes of the file in a zero-filled buffer larger than what is read, so that a
// plug-in looking at its usual 2 KiB stays inside it. False when it cannot be read.
bool ReadHead(const std::u16string& path, std::vector<uint8_t>& head) {
    const std::filesystem::path fsPath = ToFsPath(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fsPath, ec)) return false;
    std::ifstream in(fsPath, std::ios::binary);
    if (!in) return false;
    head.assign(SPI_PROBE_BUFFER, 0);
    in.read(reinterpret_cast<char*>(head.data()), SPI_PROBE_BYTES);
    return !in.bad();
}

}  // namespace

std::u16string CYbPictSPIRenderer::DefaultPluginDir() {
    return FromFsPath(ProgramFolder());
}

bool CYbPictSPIRenderer::loadPlugins() {
    if (loaded_) return true;
    const std::filesystem::path dir =
        ToFsPath(pluginDir_.empty() ? DefaultPluginDir() : pluginDir_);
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    if (ec) return false;  // tried again on the next request
    std::vector<std::filesystem::path> candidates;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec) break;
        // A folder (or anything else that is not a plain file) named like a plug-in is
        // passed over; opening a pipe would not even return.
        std::error_code statError;
        if (IsPluginName(it->path()) && it->is_regular_file(statError))
            candidates.push_back(it->path());
    }
    // Load order decides which plug-in answers first; keep it the same on every run.
    std::sort(candidates.begin(), candidates.end());
    for (const auto& path : candidates)
        if (auto file = CYbSPIFile::Load(path)) files_.push_back(std::move(file));
    loaded_ = true;
    return true;
}

CYbSPIFile* CYbPictSPIRenderer::findPlugin(const std::u16string& path) {
    if (auto it = fileMap_.find(path); it != fileMap_.end()) return it->second;
    fileMap_[path] = nullptr;
    std::vector<uint8_t> head;
    if (!ReadHead(path, head)) return nullptr;
    const std::string name = ToUtf8(path);
    for (const auto& file : files_) {
        if (file->isSupported(name, head.data())) {
            fileMap_[path] = file.get();
            return file.get();
        }
    }
    return nullptr;
}

bool CYbPictSPIRenderer::canLoad(std::u16string_view file) {
    if (!loadPlugins()) return false;
    return findPlugin(ResolvePath(curDir_, file)) != nullptr;
}

bool CYbPictSPIRenderer::loadPicture(std::u16string_view file, CYbBitmap& picture) {
    if (!loadPlugins()) return false;
    const std::u16string path = ResolvePath(curDir_, file);
    CYbSPIFile* plugin = findPlugin(path);
    return plugin && plugin->getPicture(ToUtf8(path), picture);
}

void CYbPictSPIRenderer::unload() {
    fileMap_.clear();
    files_.clear();
    loaded_ = false;
}

void CYbPictSPIRenderer::getFileFilters(std::vector<PictFileFilter>& filters) {
    if (!loadPlugins()) return;
    for (const auto& file : files_)
        file->appendFileFilters(filters);
}

bool CYbPictSPIRenderer::setProperty(std::u16string_view key, std::u16string_view value) {
    if (key == u"CurDir") {
        curDir_ = value;
        return true;
    }
    if (key == u"PluginDir") {
        // Plug-ins from another folder would answer for this one: start over.
        if (value != pluginDir_) unload();
        pluginDir_ = value;
        return true;
    }
    return false;
}

bool CYbPictSPIRenderer::getProperty(std::u16string_view key, std::u16string& value) {
    if (key == u"CurDir") {
        value = curDir_.empty() ? CurrentDirectory() : curDir_;
        return true;
    }
    if (key == u"PluginDir") {
        if (pluginDir_.empty()) pluginDir_ = DefaultPluginDir();
        value = pluginDir_;
        return true;
    }
    return false;
}

}  // namespace Yomibon
