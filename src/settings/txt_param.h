// The one store of user settings, read by key. Filled with built-in defaults, overwritten
// from the settings file at start-up, written back whole at exit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/string_compare.h"

namespace Yomibon {

// A font setting. The leading "@" of a face selects its vertical-writing variant.
struct FontParam {
    std::u16string face;     // at most 63 units
    uint32_t color = 0;      // 0x00BBGGRR
    double spacing = 0.0;    // character spacing
    bool centering = false;  // centring
};

class CYbTxtParam {
  public:
    static constexpr size_t kMaxFaceUnits = 63;

    CYbTxtParam();
    // Installs every built-in default.
    void SetDefaults();

    // Integer lists. GetPoints copies min(count, stored) values and returns how many.
    int GetPoints(std::u16string_view key, int count, int32_t* out) const;
    const std::vector<int32_t>& GetPoints(std::u16string_view key) const;
    bool SetPoints(std::u16string_view key, const int32_t* values, int count);
    bool GetBoolean(std::u16string_view key) const;
    bool SetBoolean(std::u16string_view key, bool flag);

    // Strings. SetText turns CR LF, then CR, then LF into one space each.
    const std::u16string& GetText(std::u16string_view key) const;
    bool SetText(std::u16string_view key, std::u16string_view text);

    // Fonts.
    FontParam GetFont(std::u16string_view key) const;
    bool SetFont(std::u16string_view key, const FontParam& font);

    // Character lists: one entry per character, a surrogate pair being one.
    const std::vector<std::u16string>& GetList(std::u16string_view key) const;
    // All entries concatenated, as the settings file and the dialogs show them.
    std::u16string GetListText(std::u16string_view key) const;
    // Cuts a text into characters and makes them the list.
    bool SetList(std::u16string_view key, std::u16string_view text);
    // Index of the first entry the matcher accepts, or -1.
    int FindListEntry(std::u16string_view key, const CYbStringCompare& matcher) const;

    // Character maps (from offset.lis and the defaults).
    std::pair<int32_t, int32_t> GetOffset(std::u16string_view text) const;
    uint16_t GetCharClass(std::u16string_view text) const;

    // Reads the settings file and offset.lis beside it; false when the settings file
    // could not be read (the store then keeps what it held).
    bool Load(const std::filesystem::path& file);
    // Writes the settings file (other sections and keys in it are kept); false when it
    // could not be written, the old file being left intact.
    bool Save(const std::filesystem::path& file) const;

    // Cuts a text into characters (a high surrogate takes the following unit with it).
    static std::vector<std::u16string> SplitChars(std::u16string_view text);

    // The keys of each family, in table order (the order of the settings file).
    static const std::vector<std::u16string_view>& ListKeys();
    static const std::vector<std::u16string_view>& FontKeys();
    static const std::vector<std::u16string_view>& TextKeys();
    static const std::vector<std::u16string_view>& PointKeys();

  private:
    void LoadOffsets(const std::filesystem::path& file);

    std::vector<std::vector<std::u16string>> lists_;
    std::vector<FontParam> fonts_;
    std::vector<std::u16string> texts_;
    std::vector<std::vector<int32_t>> points_;
    std::map<std::u16string, std::pair<int32_t, int32_t>> offsets_;
    std::map<std::u16string, uint16_t> classes_;
};

}  // namespace Yomibon
