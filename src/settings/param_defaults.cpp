#include "settings/txt_param.h"

// The keys of the settings store and their built-in defaults, in the order of the
// settings file.

namespace Yomibon {
namespace {

struct ListDefault {
    std::u16string_view key;
    std::u16string_view chars;
};

const ListDefault kListDefaults[] = {
    {u"HangingChar", u",.､｡、。，．"},
    {u"ConfListStart",
     u",.､｡、。，．｣」』]}):;?!ﾞﾟ･~・：；？！゛゜‐’”）〕］｝〉》】ｬｭｮゃゅょャュョっッ"},
    {u"ConfListEnd", u"「『（｛〔［【(["},
    {u"ConfListSkip", u" \u3000"},
    {u"SepNGChar", u"…‥"},
};

struct FontDefault {
    std::u16string_view key;
    std::u16string_view face;
};

// IPA Mincho stands in for the usual Windows Mincho face: like it, its half-width Latin
// letters are all half an em wide, which is the step the columns give them (a face with
// proportional Latin leaves gaps and overlaps in sideways words). "@" asks for vertical forms.
const FontDefault kFontDefaults[] = {
    {u"TextFont", u"@IPA明朝"},  {u"RubyFont", u"@IPA明朝"},        {u"NoteFont", u"@IPA明朝"},
    {u"NombreFont", u"IPA明朝"}, {u"RunningHeadsFont", u"IPA明朝"},
};

struct TextDefault {
    std::u16string_view key;
    std::u16string_view value;
};

const TextDefault kTextDefaults[] = {
    {u"LastFolder", u""},
    {u"LastFile", u""},
    {u"HistFile1", u""},
    {u"HistFile2", u""},
    {u"HistFile3", u""},
    {u"HistFile4", u""},
    {u"HistFile5", u""},
    {u"HistFile6", u""},
    {u"HistFile7", u""},
    {u"HistFile8", u""},
    {u"HistFile9", u""},
    {u"HistFileTitle1", u""},
    {u"HistFileTitle2", u""},
    {u"HistFileTitle3", u""},
    {u"HistFileTitle4", u""},
    {u"HistFileTitle5", u""},
    {u"HistFileTitle6", u""},
    {u"HistFileTitle7", u""},
    {u"HistFileTitle8", u""},
    {u"HistFileTitle9", u""},
    {u"HistSearchWord1", u""},
    {u"HistSearchWord2", u""},
    {u"HistSearchWord3", u""},
    {u"HistSearchWord4", u""},
    {u"HistSearchWord5", u""},
    {u"HistSearchWord6", u""},
    {u"HistSearchWord7", u""},
    {u"HistSearchWord8", u""},
    {u"HistSearchWord9", u""},
    {u"LayoutFile", u"Layout/Bunko.lay"},
    {u"LayoutType", u"BUNKO 1.0"},
    {u"BookMarkFolder", u"./Bookmark"},
    {u"NoteFormat", u"※%d"},
    {u"RunningHeadsFormat", u""},
    {u"BackgroundImage", u"Image/background.png"},
    {u"SpiPluginFolder", u""},
    {u"ProxyServer", u"localhost:8080"},
    {u"NoProxyAddress", u"127.0.0.1;"},
    // The library's catalogue (the extended person-and-work list, UTF-8, zipped); a mirror's
    // address or a local copy's file: URL serves as well.
    {u"CatalogueURL", u"https://www.aozora.gr.jp/index_pages/list_person_all_extended_utf8.zip"},
};

struct PointDefault {
    std::u16string_view key;
    std::vector<int32_t> values;
};

const PointDefault kPointDefaults[] = {
    {u"PageColor", {0xFFFFFF, 0xE0E0E0, 0xD0D0D0}},
    {u"WindowSize", {}},
    {u"TateNakaNum", {3}},
    {u"KinsokuMode", {0}},
    {u"ShowHScroll", {0}},
    {u"ShowVScroll", {0}},
    {u"SearchLoop", {1}},
    {u"BookMarkAutoSave", {1}},
    {u"BookMarkToFolder", {1}},
    {u"BookMarkNum", {10}},
    {u"SaveWindowSize", {1}},
    {u"BookmarkPos", {0, -1, -1, -1, -1}},
    {u"SubtitlePos", {0, -1, -1, -1, -1}},
    {u"FullScreen", {0}},
    {u"WzMemoMode", {1}},
    {u"PageFlip", {1}},
    {u"PageFlipInterval", {30}},
    {u"AntiAlias", {1}},
    {u"SelectionMode", {0}},
    {u"SkipHTMLImgSize", {100, 100}},
    {u"UseIESetting", {1}},
    {u"UseProxy", {1}},
    {u"LinkTextColor", {0xFF0000}},
    {u"WhiteTrans", {1}},
    {u"WhiteTransRate", {20}},
};

// Opening marks, closing marks and the middle dot, for line arrangement's spacing rules.
constexpr std::u16string_view kOpeningMarks = u"‘“（〔［｛〈《「『【≪〝⦅";
constexpr std::u16string_view kClosingMarks = u"’”）〕］｝〉》」』】≫〟、。⦆";
constexpr uint16_t kOpeningClass = 7;
constexpr uint16_t kClosingClass = 14;
constexpr uint16_t kMiddleDotClass = 6;
// Voiced sound marks sit off the centre of their cell.
constexpr int32_t kSoundMarkOffset = 75;

template <typename T, size_t N>
std::vector<std::u16string_view> KeysOf(const T (&table)[N]) {
    std::vector<std::u16string_view> keys;
    for (const auto& entry : table)
        keys.push_back(entry.key);
    return keys;
}

}  // namespace

const std::vector<std::u16string_view>& CYbTxtParam::ListKeys() {
    static const auto keys = KeysOf(kListDefaults);
    return keys;
}

const std::vector<std::u16string_view>& CYbTxtParam::FontKeys() {
    static const auto keys = KeysOf(kFontDefaults);
    return keys;
}

const std::vector<std::u16string_view>& CYbTxtParam::TextKeys() {
    static const auto keys = KeysOf(kTextDefaults);
    return keys;
}

const std::vector<std::u16string_view>& CYbTxtParam::PointKeys() {
    static const auto keys = KeysOf(kPointDefaults);
    return keys;
}

void CYbTxtParam::SetDefaults() {
    lists_.clear();
    for (const auto& entry : kListDefaults)
        lists_.push_back(SplitChars(entry.chars));
    fonts_.clear();
    for (const auto& entry : kFontDefaults)
        fonts_.push_back(FontParam{std::u16string(entry.face)});
    texts_.clear();
    for (const auto& entry : kTextDefaults)
        texts_.emplace_back(entry.value);
    points_.clear();
    for (const auto& entry : kPointDefaults)
        points_.push_back(entry.values);
    offsets_.clear();
    offsets_[u"\u309B"] = {kSoundMarkOffset, 0};
    offsets_[u"\u309C"] = {kSoundMarkOffset, 0};
    classes_.clear();
    for (const auto& mark : SplitChars(kOpeningMarks))
        classes_[mark] = kOpeningClass;
    for (const auto& mark : SplitChars(kClosingMarks))
        classes_[mark] = kClosingClass;
    classes_[u"・"] = kMiddleDotClass;
}

}  // namespace Yomibon
