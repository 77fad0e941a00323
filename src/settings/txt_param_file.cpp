// Reading and writing the settings file and reading offset.lis.
#include "platform/limits.h"
#include "platform/utf16.h"
#include "settings/csv_text.h"
#include "settings/number_text.h"
#include "settings/profile.h"
#include "settings/txt_param.h"

namespace Yomibon {
namespace {

constexpr std::u16string_view kTextSection = u"text";
constexpr std::u16string_view kFontSection = u"font";
constexpr std::u16string_view kColorSection = u"color";
constexpr std::u16string_view kSpacingSection = u"font_spacing";
constexpr std::u16string_view kCenteringSection = u"font_centering";
constexpr std::u16string_view kPointsSection = u"points";

// A value is read into a buffer of 1024 units; a longer one is cut to 1023, before a
// surrogate pair rather than inside it.
std::u16string CutValue(std::u16string value) {
    size_t limit = Limits::kProfileValueUnits - 1;
    if (value.size() > limit) value.resize(IsHighSurrogate(value[limit - 1]) ? limit - 1 : limit);
    return value;
}

// A value of section "text" that starts or ends with a blank, an apostrophe or a double
// quote is written in double quotes with inner double quotes doubled.
std::u16string QuoteText(std::u16string_view value) {
    if (value.empty()) return {};
    auto special = [](char16_t c) { return c == u' ' || c == u'\'' || c == u'"'; };
    if (!special(value.front()) && !special(value.back())) return std::u16string(value);
    std::u16string out = u"\"";
    for (char16_t c : value) {
        if (c == u'"') out.push_back(u'"');
        out.push_back(c);
    }
    return out + u"\"";
}

// Reads a value of section "text". A value in double quotes is one QuoteText wrote, so
// its doubled quotes are undone too; reading them back doubled would make every save
// add more quotes. Otherwise the profile rule applies (one pair of quotes removed).
bool ReadText(const CYbProfile& profile, std::u16string_view key, std::u16string& out) {
    std::u16string raw;
    if (!profile.GetRawString(kTextSection, key, raw)) return false;
    if (raw.size() >= 2 && raw.front() == u'"' && raw.back() == u'"') {
        out.clear();
        for (size_t i = 1; i + 1 < raw.size(); ++i) {
            out.push_back(raw[i]);
            if (raw[i] == u'"' && raw[i + 1] == u'"' && i + 2 < raw.size()) ++i;
        }
    } else {
        profile.GetString(kTextSection, key, out);
    }
    out = CutValue(std::move(out));
    return true;
}

// The value of a key, cut to the buffer; empty when absent.
std::u16string ReadValue(const CYbProfile& profile, std::u16string_view section,
                         std::u16string_view key) {
    std::u16string value;
    profile.GetString(section, key, value);
    return CutValue(std::move(value));
}

std::u16string FormatColor(uint32_t color) {
    static const char16_t digits[] = u"0123456789ABCDEF";
    std::u16string hex;
    do {
        hex.insert(hex.begin(), digits[color & 0xF]);
        color >>= 4;
    } while (color != 0);
    while (hex.size() < 6)
        hex.insert(hex.begin(), u'0');
    return u"#" + hex;
}

std::u16string FormatPoints(const std::vector<int32_t>& values) {
    std::u16string out;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out.push_back(u',');
        out += FormatDecimal(values[i]);
    }
    return out;
}

}  // namespace

bool CYbTxtParam::Load(const std::filesystem::path& file) {
    CYbProfile profile;
    bool read = profile.Load(file);
    const auto& listKeys = ListKeys();
    for (size_t i = 0; i < listKeys.size(); ++i) {
        std::u16string value;
        if (ReadText(profile, listKeys[i], value) && !value.empty()) lists_[i] = SplitChars(value);
    }
    const auto& fontKeys = FontKeys();
    for (size_t i = 0; i < fontKeys.size(); ++i) {
        FontParam& font = fonts_[i];
        std::u16string face = ReadValue(profile, kFontSection, fontKeys[i]);
        if (!face.empty() && face.size() <= kMaxFaceUnits) font.face = face;
        std::u16string color = ReadValue(profile, kColorSection, fontKeys[i]);
        if (!color.empty()) font.color = HexOrZero(std::u16string_view(color).substr(1));
        font.spacing = DoubleOrZero(ReadValue(profile, kSpacingSection, fontKeys[i]));
        font.centering = DecimalOrZero(ReadValue(profile, kCenteringSection, fontKeys[i])) == 1;
    }
    const auto& textKeys = TextKeys();
    for (size_t i = 0; i < textKeys.size(); ++i) {
        std::u16string value;
        if (ReadText(profile, textKeys[i], value) && !value.empty()) texts_[i] = value;
    }
    const auto& pointKeys = PointKeys();
    for (size_t i = 0; i < pointKeys.size(); ++i) {
        std::u16string value = ReadValue(profile, kPointsSection, pointKeys[i]);
        if (value.empty()) continue;
        auto rows = CYbCSVText::Parse(value);
        if (rows.size() != 1) continue;
        points_[i].clear();
        for (const auto& field : rows[0])
            points_[i].push_back(DecimalOrZero(field));
    }
    LoadOffsets(file);
    return read;
}

void CYbTxtParam::LoadOffsets(const std::filesystem::path& file) {
    CYbCSVText table;
    if (!table.Read(file.parent_path() / "offset.lis")) return;
    for (const auto& row : table.GetRows()) {
        if (row.size() == 3) {
            int32_t x = 0, y = 0;
            if (ReadDecimal(row[1], x) && ReadDecimal(row[2], y)) offsets_[row[0]] = {x, y};
        } else if (row.size() == 2) {
            int32_t value = 0;
            if (ReadDecimal(row[1], value)) classes_[row[0]] = uint16_t(value);
        }
    }
}

bool CYbTxtParam::Save(const std::filesystem::path& file) const {
    // Other sections and keys of an existing file (UseApplicationData among them) stay.
    CYbProfile profile;
    std::error_code ec;
    if (!profile.Load(file) && std::filesystem::exists(file, ec)) return false;
    // Saving over a file read cut short or with bytes that did not decode would lose them.
    if (!profile.Intact()) return false;
    const auto& listKeys = ListKeys();
    for (size_t i = 0; i < listKeys.size(); ++i)
        profile.WriteString(kTextSection, listKeys[i], QuoteText(GetListText(listKeys[i])));
    const auto& fontKeys = FontKeys();
    for (size_t i = 0; i < fontKeys.size(); ++i) {
        const FontParam& font = fonts_[i];
        profile.WriteString(kFontSection, fontKeys[i], font.face);
        profile.WriteString(kColorSection, fontKeys[i], FormatColor(font.color));
        profile.WriteString(kSpacingSection, fontKeys[i], FormatDouble(font.spacing));
        profile.WriteString(kCenteringSection, fontKeys[i], font.centering ? u"1" : u"0");
    }
    const auto& textKeys = TextKeys();
    for (size_t i = 0; i < textKeys.size(); ++i)
        profile.WriteString(kTextSection, textKeys[i], QuoteText(texts_[i]));
    const auto& pointKeys = PointKeys();
    for (size_t i = 0; i < pointKeys.size(); ++i)
        profile.WriteString(kPointsSection, pointKeys[i], FormatPoints(points_[i]));
    return profile.Save(file);
}

}  // namespace Yomibon
