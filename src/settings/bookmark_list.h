// The shared bookmark folder and its list "bookmark.lis": one row per text, oldest first,
// naming the text and its numbered bookmark file in the folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/csv_text.h"

namespace Yomibon {

// The settings the bookmark store consults, read from the settings store when needed.
struct BookmarkSettings {
    std::u16string folder = u"./Bookmark";  // BookMarkFolder
    bool toFolder = true;                   // BookMarkToFolder
    int32_t count = 10;                     // BookMarkNum
    std::u16string dataFolder;              // the data folder
};

// The bookmark folder for the BookMarkFolder setting and the data folder, normalised.
// A "drive" here is the part of the data folder before its root: "X:" where the data
// folder starts so, otherwise empty, so that a single "/" names the root.
std::u16string ResolveBookmarkFolder(std::u16string_view setting, std::u16string_view dataFolder);

// "<folder>/bookmark.lis".
std::u16string BookmarkListPath(std::u16string_view folder);

// The bookmark file the list names for a text: the last row for the text (compared
// without regard to case) decides; false when there is none, or its file is missing.
bool FindInBookmarkList(std::u16string_view folder, std::u16string_view textPath,
                        std::u16string& sioriPath);

// Rebuilds the list rows: each text once (its first row), the current text left out,
// and never more than count - 1 rows, dropping the oldest.
class EachBookmarkMapFunc : public CYbCSVText::EachFunc {
  public:
    EachBookmarkMapFunc(std::u16string_view textPath, int32_t count)
        : textPath_(textPath), count_(count) {}
    bool Each(const CYbCSVText::Row& row) override;
    CYbCSVText& result() { return result_; }

  private:
    std::u16string textPath_;
    int32_t count_;
    std::vector<std::u16string> seen_;
    CYbCSVText result_;
};

// Finds the lowest bookmark file number 1..count that no row of the list uses (the number
// at the start of the file name of field 1); 100 when all are taken.
class EachNextNoFunc : public CYbCSVText::EachFunc {
  public:
    explicit EachNextNoFunc(int32_t count);
    bool Each(const CYbCSVText::Row& row) override;
    int32_t NextNumber() const;

  private:
    std::vector<bool> used_;
};

// Puts a text last in the list of a folder and chooses its bookmark file there: the list
// keeps at most count texts, and the file number of a dropped text is reused. Creates
// the folder; writes the list atomically. False when the folder or list cannot be written.
bool RecordInBookmarkList(std::u16string_view folder, std::u16string_view textPath, int32_t count,
                          std::u16string& sioriPath);

}  // namespace Yomibon
