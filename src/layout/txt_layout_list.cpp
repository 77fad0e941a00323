#include "layout/txt_layout_list.h"

#include <algorithm>

#include "layout/bunko_txt_layout.h"
#include "layout/custom_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "platform/paths.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"

namespace Yomibon {
namespace {

bool IsLayFile(const std::filesystem::directory_entry& entry) {
    std::error_code ec;
    if (!entry.is_regular_file(ec)) return false;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return char(std::tolower(c)); });
    return ext == ".lay";
}

// An empty type counts as a leading part.
bool IsLeadingPart(std::u16string_view type, std::u16string_view full) {
    return full.substr(0, type.size()) == type;
}

constexpr const char16_t* kBunkoName = u"文庫本";
constexpr const char16_t* kShinshoName = u"新書縦2段";

}  // namespace

std::vector<LayoutEntry> EnumerateLayouts(const std::filesystem::path& dataFolder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dataFolder / "Layout", ec), end; !ec && it != end;
         it.increment(ec)) {
        if (IsLayFile(*it)) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    std::vector<LayoutEntry> entries;
    bool bunko = false, shinsho = false;
    for (const auto& file : files) {
        CYbCustomTxtLayout layout;
        if (!layout.Open(FromFsPath(file).c_str())) continue;
        std::u16string type = layout.GetLayoutType();
        std::u16string name = layout.GetLayoutName();
        const bool isBunko = IsLeadingPart(type, CYbBunkoTxtLayout::kTypeName);
        const bool isShinsho = !isBunko && IsLeadingPart(type, CYbShinShoTate2TxtLayout::kTypeName);
        // A file of a built-in kind that leaves its name empty (as the shipped ones do) is
        // listed under its kind's name, not its file name.
        if (name.empty() && isBunko) name = kBunkoName;
        if (name.empty() && isShinsho) name = kShinshoName;
        entries.push_back({type, name, u"Layout/" + FromFsPath(file.filename())});
        bunko = bunko || isBunko;
        shinsho = shinsho || isShinsho;
    }
    if (!bunko) entries.push_back({u"BUNKO 1.0", kBunkoName, u"Layout/Bunko.lay"});
    if (!shinsho)
        entries.push_back({u"SHINSHOTATE2 1.0", kShinshoName, u"Layout/ShinshoTate2.lay"});
    return entries;
}

std::vector<LayoutEntry> EnumerateLayouts() {
    return EnumerateLayouts(DataFolder());
}

std::unique_ptr<CYbTxtLayout> CreateLayoutForEntry(const LayoutEntry& entry) {
    if (!entry.file.empty()) {
        auto custom = std::make_unique<CYbCustomTxtLayout>();
        if (custom->Open(entry.file.c_str())) return custom;
    }
    if (entry.type.starts_with(CYbShinShoTate2TxtLayout::kTypeName))
        return std::make_unique<CYbShinShoTate2TxtLayout>();
    return std::make_unique<CYbBunkoTxtLayout>();
}

int FindLayoutEntry(const std::vector<LayoutEntry>& entries, const CYbTxtParam& param) {
    const std::u16string& file = param.GetText(u"LayoutFile");
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].file == file) return int(i);
    return -1;
}

bool ConfirmLayoutChoice(CYbTxtParam& param, const LayoutEntry& entry) {
    param.SetText(u"LayoutFile", entry.file);
    param.SetText(u"LayoutType", entry.type);
    auto layout = CreateLayoutForEntry(entry);
    return layout->Save(entry.file.c_str());
}

bool LoadLayoutFromSettings(CYbCustomTxtLayout& layout, const CYbTxtParam& param) {
    const std::u16string& file = param.GetText(u"LayoutFile");
    if (file.empty()) {
        layout.SetDefault();
        return true;
    }
    return layout.Open(file.c_str());
}

}  // namespace Yomibon
