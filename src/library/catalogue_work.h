// One work of the library's catalogue, as the catalogue file describes it: the file has a row
// per (work, person) pair, gathered here into one record per work.
#pragma once

#include <string>
#include <vector>

namespace Yomibon {

struct CataloguePerson {
    std::u16string id;       // 人物ID
    std::u16string name;     // 姓 and 名 as written ("太宰 治" has no blank: "太宰治")
    std::u16string reading;  // 姓読み and 名読み
    std::u16string role;     // 著者, 翻訳者, 編者, 校訂者, その他
};

struct CatalogueWork {
    std::u16string id;  // six digits, leading zeros kept
    std::u16string title;
    std::u16string titleReading;
    std::u16string sortReading;  // ソート用読み: the title's order
    std::u16string subtitle;
    std::u16string subtitleReading;
    std::u16string kanaStyle;              // 文字遣い種別
    std::u16string firstPrinted;           // 初出
    int year = 0;                          // the first year named in 初出; 0 when none
    bool copyrighted = false;              // 作品著作権フラグ あり
    std::vector<CataloguePerson> persons;  // in the order of their rows
    std::string textUrl;                   // the text zip; empty when the work has none yet
    std::string xhtmlUrl;                  // the XHTML file

    // The persons as the list shows them: names joined by "、", a role other than 著者 in
    // parentheses after the name ("森鴎外(翻訳者)").
    std::u16string authors() const;
    // Readings of the persons joined the same way, for ordering by author.
    std::u16string authorsReading() const;
};

}  // namespace Yomibon
