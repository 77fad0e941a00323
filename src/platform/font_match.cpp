// The font configuration backend: the only file that talks to fontconfig.
#include "platform/font_match.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <utility>

#include "platform/utf16.h"

namespace Yomibon {
namespace {

std::mutex& CacheLock() {
    static std::mutex lock;
    return lock;
}

bool& ReleasedAtExit() {
    static bool released = true;
    return released;
}

FcConfig* Config() {
    static FcConfig* config = [] {
        FcInit();
        // Hand the configuration back at exit; without it the library's start-up
        // allocations show as leaks in every checked run.
        if (ReleasedAtExit()) std::atexit(FcFini);
        return FcConfigGetCurrent();
    }();
    return config;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y && !(x == ' ' && y == ' ')) return false;
    }
    return true;
}

std::optional<FontFile> FileOf(FcPattern* font, std::string_view wanted) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) return {};
    FontFile out;
    out.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
    int weight = FC_WEIGHT_REGULAR;
    if (FcPatternGetInteger(font, FC_WEIGHT, 0, &weight) == FcResultMatch)
        out.weight = int(FcWeightToOpenType(weight));
    // The configuration may promise a synthetic bold; the face itself is then regular and
    // the font backend does the emboldening.
    FcBool embolden = FcFalse;
    if (FcPatternGetBool(font, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden)
        out.weight = 400;
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
        std::string_view name(reinterpret_cast<const char*>(family));
        if (i == 0) out.family = FromUtf8(name);
        if (!wanted.empty() && SameName(name, wanted)) {
            out.family = FromUtf8(name);
            out.exact = true;
        }
    }
    return out;
}

bool CoversJapanese(FcPattern* font) {
    FcCharSet* set = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &set) != FcResultMatch) return false;
    return FcCharSetHasChar(set, 0x3042) && FcCharSetHasChar(set, 0x6F22) &&
           FcCharSetHasChar(set, 0x3001);
}

FcPattern* NewPattern(const char* family, int weight, const char* lang) {
    FcPattern* p = FcPatternCreate();
    if (family) FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddInteger(p, FC_WEIGHT, int(FcWeightFromOpenType(weight)));
    if (lang) FcPatternAddString(p, FC_LANG, reinterpret_cast<const FcChar8*>(lang));
    FcPatternAddBool(p, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(Config(), p, FcMatchPattern);
    FcDefaultSubstitute(p);
    return p;
}

// The first sorted face that satisfies `accept`.
template <typename Accept>
std::optional<FontFile> FirstSorted(FcPattern* pattern, Accept accept) {
    FcResult result;
    FcFontSet* set = FcFontSort(Config(), pattern, FcFalse, nullptr, &result);
    std::optional<FontFile> found;
    for (int i = 0; set && i < set->nfont && !found; ++i) {
        FcBool scalable = FcFalse;
        FcPatternGetBool(set->fonts[i], FC_SCALABLE, 0, &scalable);
        if (scalable && accept(set->fonts[i])) found = FileOf(set->fonts[i], {});
    }
    if (set) FcFontSetDestroy(set);
    return found;
}

std::optional<FontFile> JapaneseSerif(int weight) {
    FcPattern* p = NewPattern("serif", weight, "ja");
    auto found = FirstSorted(p, CoversJapanese);
    FcPatternDestroy(p);
    if (!found) {
        p = NewPattern(nullptr, weight, "ja");
        found = FirstSorted(p, CoversJapanese);
        FcPatternDestroy(p);
    }
    return found;
}

std::optional<FontFile> Resolve(const std::string& family, int weight) {
    if (!family.empty()) {
        FcPattern* p = NewPattern(family.c_str(), weight, "ja");
        FcResult result;
        FcPattern* match = FcFontMatch(Config(), p, &result);
        FcPatternDestroy(p);
        std::optional<FontFile> file;
        if (match) {
            file = FileOf(match, family);
            FcPatternDestroy(match);
        }
        if (file && file->exact) return file;
    }
    return JapaneseSerif(weight);
}

}  // namespace

void SetFontConfigReleasedAtExit(bool released) {
    ReleasedAtExit() = released;
}

void PrepareFontConfig() {
    Config();
}

std::optional<FontFile> MatchFontFile(std::u16string_view family, int weight) {
    std::lock_guard<std::mutex> guard(CacheLock());
    static std::map<std::pair<std::u16string, int>, std::optional<FontFile>> cache;
    auto key = std::make_pair(std::u16string(family), weight);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    auto found = Resolve(ToUtf8(family), weight);
    cache.emplace(key, found);
    return found;
}

std::optional<FontFile> FindFontForChar(char32_t c) {
    std::lock_guard<std::mutex> guard(CacheLock());
    static std::map<char32_t, std::optional<FontFile>> cache;
    auto it = cache.find(c);
    if (it != cache.end()) return it->second;
    FcPattern* p = NewPattern(nullptr, 400, "ja");
    FcCharSet* wanted = FcCharSetCreate();
    FcCharSetAddChar(wanted, FcChar32(c));
    FcPatternAddCharSet(p, FC_CHARSET, wanted);
    auto found = FirstSorted(p, [c](FcPattern* font) {
        FcCharSet* set = nullptr;
        return FcPatternGetCharSet(font, FC_CHARSET, 0, &set) == FcResultMatch &&
               FcCharSetHasChar(set, FcChar32(c));
    });
    FcCharSetDestroy(wanted);
    FcPatternDestroy(p);
    cache.emplace(c, found);
    return found;
}

std::vector<std::u16string> JapaneseFontFamilies() {
    std::lock_guard<std::mutex> guard(CacheLock());
    FcPattern* p = FcPatternCreate();
    FcLangSet* langs = FcLangSetCreate();
    FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddLangSet(p, FC_LANG, langs);
    FcPatternAddBool(p, FC_SCALABLE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
    FcFontSet* fonts = FcFontList(Config(), p, objects);
    std::set<std::u16string> families;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        // A face's Japanese name where it has one (IPA明朝, as the settings name it), else its
        // first name.
        FcChar8* name = nullptr;
        FcChar8* chosen = nullptr;
        for (int n = 0; FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch;
             ++n) {
            FcChar8* lang = nullptr;
            if (!chosen) chosen = name;
            if (FcPatternGetString(fonts->fonts[i], FC_FAMILYLANG, n, &lang) == FcResultMatch &&
                std::string_view(reinterpret_cast<const char*>(lang)) == "ja") {
                chosen = name;
                break;
            }
        }
        if (chosen) families.insert(FromUtf8(reinterpret_cast<const char*>(chosen)));
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcLangSetDestroy(langs);
    FcPatternDestroy(p);
    return {families.begin(), families.end()};
}

}  // namespace Yomibon
