// The picture renderer for formats read by picture plug-ins (*.spi shared objects).
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "render/pict_renderer.h"
#include "render/pict_spi_interface.h"

namespace Yomibon {

// One loaded plug-in: its module and entry points. Destruction unloads the module.
class CYbSPIFile {
  public:
    // Loads the shared object; null unless it exports GetPluginInfo, IsSupported and
    // GetPicture (the module is unloaded again then).
    static std::unique_ptr<CYbSPIFile> Load(const std::filesystem::path& path);
    ~CYbSPIFile();
    CYbSPIFile(const CYbSPIFile&) = delete;
    CYbSPIFile& operator=(const CYbSPIFile&) = delete;

    // The text of information number infono, converted to UTF-16; false when the plug-in
    // has no such entry.
    bool pluginInfo(int infono, std::u16string& text) const;
    bool isSupported(const std::string& fileName, const uint8_t* head) const;
    // Decodes the file through the plug-in into a 32-bit bitmap; the plug-in's blocks are
    // checked against what they claim to hold and always released.
    bool getPicture(const std::string& fileName, CYbBitmap& picture) const;
    void appendFileFilters(std::vector<PictFileFilter>& filters) const;

  private:
    CYbSPIFile() = default;
    void release(SpiHandle handle) const;

    void* module_ = nullptr;
    SpiGetPluginInfo GetPluginInfo_ = nullptr;
    SpiIsSupported IsSupported_ = nullptr;
    SpiGetPicture GetPicture_ = nullptr;
    SpiFreeHandle FreeHandle_ = nullptr;
};

class CYbPictSPIRenderer : public CYbDecodingPictRenderer {
  public:
    bool canLoad(std::u16string_view file) override;
    void unload() override;
    std::u16string_view getClassName() const override { return u"CYbPictSPIRenderer"; }
    void getFileFilters(std::vector<PictFileFilter>& filters) override;
    // "CurDir" and "PluginDir"; reading an empty "PluginDir" first sets the default.
    bool setProperty(std::u16string_view key, std::u16string_view value) override;
    bool getProperty(std::u16string_view key, std::u16string& value) override;

    bool loadPicture(std::u16string_view file, CYbBitmap& picture) override;
    bool loaded() const { return loaded_; }
    size_t pluginCount() const { return files_.size(); }

    // The folder plug-ins are looked for in when none is set: the program folder.
    static std::u16string DefaultPluginDir();

  private:
    bool loadPlugins();
    CYbSPIFile* findPlugin(const std::u16string& path);

    bool loaded_ = false;
    std::vector<std::unique_ptr<CYbSPIFile>> files_;
    // Answers per file name, negative ones (null) included.
    std::map<std::u16string, CYbSPIFile*> fileMap_;
    std::u16string curDir_;
    std::u16string pluginDir_;
};

}  // namespace Yomibon
