#include "support/catalogue_maker.h"

#include <array>
#include <cstdint>
#include <cstdio>

#include "archive/archive_maker.h"

namespace Yomibon::Test {
namespace {

const char* const kHeader[55] = {"作品ID",
                                 "作品名",
                                 "作品名読み",
                                 "ソート用読み",
                                 "副題",
                                 "副題読み",
                                 "原題",
                                 "初出",
                                 "分類番号",
                                 "文字遣い種別",
                                 "作品著作権フラグ",
                                 "公開日",
                                 "最終更新日",
                                 "図書カードURL",
                                 "人物ID",
                                 "姓",
                                 "名",
                                 "姓読み",
                                 "名読み",
                                 "姓読みソート用",
                                 "名読みソート用",
                                 "姓ローマ字",
                                 "名ローマ字",
                                 "役割フラグ",
                                 "生年月日",
                                 "没年月日",
                                 "人物著作権フラグ",
                                 "底本名1",
                                 "底本出版社名1",
                                 "底本初版発行年1",
                                 "入力に使用した版1",
                                 "校正に使用した版1",
                                 "底本の親本名1",
                                 "底本の親本出版社名1",
                                 "底本の親本初版発行年1",
                                 "底本名2",
                                 "底本出版社名2",
                                 "底本初版発行年2",
                                 "入力に使用した版2",
                                 "校正に使用した版2",
                                 "底本の親本名2",
                                 "底本の親本出版社名2",
                                 "底本の親本初版発行年2",
                                 "入力者",
                                 "校正者",
                                 "テキストファイルURL",
                                 "テキストファイル最終更新日",
                                 "テキストファイル符号化方式",
                                 "テキストファイル文字集合",
                                 "テキストファイル修正回数",
                                 "XHTML/HTMLファイルURL",
                                 "XHTML/HTMLファイル最終更新日",
                                 "XHTML/HTMLファイル符号化方式",
                                 "XHTML/HTMLファイル文字集合",
                                 "XHTML/HTMLファイル修正回数"};

std::string Quoted(const std::string& field) {
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string Line(const CatalogueRow& r) {
    const std::string card = "https://www.aozora.gr.jp/cards/" + r.personId + "/card" +
                             std::to_string(std::stoi(r.id)) + ".html";
    // Dates stand unquoted, as they do in the library's file.
    std::array<std::string, 55> f = {r.id,
                                     r.title,
                                     r.reading,
                                     r.reading,
                                     r.subtitle,
                                     "",
                                     "",
                                     r.firstPrinted,
                                     "NDC 913",
                                     r.kanaStyle,
                                     "なし",
                                     "1999-01-01",
                                     "2011-01-01",
                                     card,
                                     r.personId,
                                     r.family,
                                     r.given,
                                     r.familyReading,
                                     r.givenReading,
                                     r.familyReading,
                                     r.givenReading,
                                     "",
                                     "",
                                     r.role,
                                     "1900-01-01",
                                     "1950-01-01",
                                     "なし",
                                     "全集",
                                     "出版社",
                                     "1990（平成2）年",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "",
                                     "入力者",
                                     "校正者",
                                     r.textUrl,
                                     "2004-03-15",
                                     "ShiftJIS",
                                     "JIS X 0208",
                                     "0",
                                     r.xhtmlUrl,
                                     "2004-03-15",
                                     "ShiftJIS",
                                     "JIS X 0208",
                                     "0"};
    std::string line;
    for (size_t i = 0; i < f.size(); ++i) {
        if (i) line += ',';
        const bool date = f[i].size() == 10 && f[i][4] == '-' && f[i][7] == '-';
        line += date ? f[i] : Quoted(f[i]);
    }
    return line + "\r\n";
}

struct Word {
    const char* kanji;
    const char* reading;
};
const Word kWords[] = {
    {"春", "はる"},       {"夏", "なつ"},       {"秋", "あき"},    {"冬", "ふゆ"}, {"山", "やま"},
    {"川", "かわ"},       {"月", "つき"},       {"夜", "よる"},    {"花", "はな"}, {"雪", "ゆき"},
    {"海", "うみ"},       {"風", "かぜ"},       {"森", "もり"},    {"星", "ほし"}, {"町", "まち"},
    {"旅", "たび"},       {"鳥", "とり"},       {"雨", "あめ"},    {"道", "みち"}, {"空", "そら"},
    {"夢", "ゆめ"},       {"影", "かげ"},       {"光", "ひかり"},  {"声", "こえ"}, {"猫", "ねこ"},
    {"ランプ", "らんぷ"}, {"ピアノ", "ぴあの"}, {"汽車", "きしゃ"}};
const Word kFamilies[] = {{"佐藤", "さとう"},   {"鈴木", "すずき"},   {"高橋", "たかはし"},
                          {"田中", "たなか"},   {"伊藤", "いとう"},   {"渡辺", "わたなべ"},
                          {"山本", "やまもと"}, {"中村", "なかむら"}, {"小林", "こばやし"},
                          {"加藤", "かとう"}};
const Word kGivens[] = {{"一郎", "いちろう"}, {"花子", "はなこ"}, {"健", "けん"},
                        {"直子", "なおこ"},   {"修", "おさむ"},   {"春樹", "はるき"},
                        {"千代", "ちよ"},     {"実", "みのる"}};
const char* const kStyles[] = {"新字新仮名", "旧字旧仮名", "新字旧仮名", "旧字新仮名"};

std::string SixDigits(size_t n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06zu", n);
    return buf;
}

}  // namespace

std::string CatalogueCsv(const std::vector<CatalogueRow>& rows, bool bom) {
    std::string csv = bom ? "\xEF\xBB\xBF" : "";
    for (size_t i = 0; i < 55; ++i)
        csv += (i ? "," : "") + Quoted(kHeader[i]);
    csv += "\r\n";
    for (const CatalogueRow& r : rows)
        csv += Line(r);
    return csv;
}

std::string SampleTextPath(const std::string& id) {
    return "/cards/" + SixDigits(size_t(std::stoi(id)) % 1000) + "/files/" +
           std::to_string(std::stoi(id)) + "_ruby.zip";
}

std::vector<CatalogueRow> SampleCatalogue(size_t works, const std::string& base) {
    auto known = [&](const char* id, const char* title, const char* reading, const char* person,
                     const Word& family, const Word& given, const char* style,
                     const char* printed) {
        CatalogueRow r;
        r.id = id;
        r.title = title;
        r.reading = reading;
        r.personId = person;
        r.family = family.kanji;
        r.given = given.kanji;
        r.familyReading = family.reading;
        r.givenReading = given.reading;
        r.kanaStyle = style;
        r.firstPrinted = printed;
        r.textUrl = base + SampleTextPath(id);
        return r;
    };
    std::vector<CatalogueRow> rows = {
        known("000127", "羅生門", "らしょうもん", "000879", {"芥川", "あくたがわ"},
              {"竜之介", "りゅうのすけ"}, "新字旧仮名", "「帝国文学」1915（大正4）年11月"),
        known("001567", "走れメロス", "はしれめろす", "000035", {"太宰", "だざい"},
              {"治", "おさむ"}, "新字新仮名", "「新潮」1940（昭和15）年5月"),
        known("000466", "オツベルと象", "おつべるとぞう", "000081", {"宮沢", "みやざわ"},
              {"賢治", "けんじ"}, "新字新仮名", "「月曜」1926（大正15）年1月"),
        known("001235", "変身", "へんしん", "001235", {"カフカ", "かふか"},
              {"フランツ", "ふらんつ"}, "新字新仮名", ""),
    };
    CatalogueRow translator = rows.back();
    translator.personId = "001236";
    translator.family = "原田";
    translator.given = "義人";
    translator.familyReading = "はらだ";
    translator.givenReading = "よしと";
    translator.role = "翻訳者";
    rows.push_back(translator);
    rows[1].subtitle = "新釈諸国噺";
    // Generated works: titles of two or three words, ten families of authors.
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (size_t n = 10000; rows.size() < works + 1; ++n) {
        CatalogueRow r;
        r.id = SixDigits(n);
        const size_t parts = 2 + next(2);
        for (size_t p = 0; p < parts; ++p) {
            const Word& w = kWords[next(std::size(kWords))];
            r.title += std::string(p ? "の" : "") + w.kanji;
            r.reading += std::string(p ? "の" : "") + w.reading;
        }
        const Word& family = kFamilies[next(std::size(kFamilies))];
        const Word& given = kGivens[next(std::size(kGivens))];
        r.family = family.kanji;
        r.given = given.kanji;
        r.familyReading = family.reading;
        r.givenReading = given.reading;
        r.personId = SixDigits(100 + next(500));
        r.kanaStyle = kStyles[next(std::size(kStyles))];
        r.firstPrinted = "「雑誌」" + std::to_string(1890 + next(70)) + "年";
        r.textUrl = base + SampleTextPath(r.id);
        rows.push_back(std::move(r));
    }
    return rows;
}

bool WriteCatalogueZip(const std::filesystem::path& zip, const std::string& csv) {
    return WriteZip(zip, {{"list_person_all_extended_utf8.csv", csv}});
}

}  // namespace Yomibon::Test
