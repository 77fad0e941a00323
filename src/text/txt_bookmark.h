// The reader's bookmarks in one text and its last read position, kept in a bookmark file
// in the shared bookmark folder (indexed by its list) or wherever the user saved it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/bookmark_list.h"
#include "text/text_buffer.h"

namespace Yomibon {

class CYbTxtDocument;

// One bookmark: the page of the spread that shows it, its place, the text from there to
// the end of its line.
struct BookmarkEntry {
    int32_t page = 0;
    TextPoint point{0, 0, 0};
    std::u16string label;
};

class CYbTxtBookmark {
  public:
    explicit CYbTxtBookmark(CYbTxtDocument& document) : document_(document) {}
    virtual ~CYbTxtBookmark() = default;
    CYbTxtBookmark(const CYbTxtBookmark&) = delete;
    CYbTxtBookmark& operator=(const CYbTxtBookmark&) = delete;

    // Finds and reads the bookmark file of a text, or reads the path as a bookmark file.
    bool OpenForDocument(std::u16string_view path);
    // Reads one bookmark file; true when it is one.
    bool ReadSiori(std::u16string_view path);
    // Saves to the bookmark folder (recording the text in its list) or beside the text.
    bool Save();
    // Writes the bookmark file to a path, or to the file read when the path is empty.
    bool SaveAs(std::u16string_view path = {});

    // Adds a bookmark at the first position of a page, unless one is there already.
    void AddEntry(int32_t page);
    void DeleteEntry(int32_t index);
    int32_t EntryCount() const { return int32_t(entries_.size()); }
    // The page of an entry; -1 for an index out of range.
    int32_t GetEntryPage(int32_t index) const;
    const std::vector<BookmarkEntry>& Entries() const { return entries_; }

    // The last read position becomes the first position of a page.
    void SetLastPosition(int32_t page);
    const BookmarkEntry& LastPosition() const { return last_; }

    // Recomputes pages and labels after the text was laid out anew.
    void UpdatePages();
    void Clear();

    const std::u16string& TextPath() const { return textPath_; }
    void SetTextPath(std::u16string_view path);
    const std::u16string& SioriPath() const { return sioriPath_; }

    // The settings consulted, as the document's settings store holds them now.
    BookmarkSettings Settings() const;

  private:
    // Fills an entry for a position: page and label; false when the page is unknown.
    bool Refresh(BookmarkEntry& entry) const;
    void SortEntries();

    CYbTxtDocument& document_;
    BookmarkEntry last_;
    std::vector<BookmarkEntry> entries_;
    std::u16string textPath_;
    std::u16string sioriPath_;
};

}  // namespace Yomibon
