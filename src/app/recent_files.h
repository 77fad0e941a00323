// The recently opened files: {label, path} pairs, newest last, kept in HistFile1..9.
#pragma once

#include <string>
#include <vector>

namespace Yomibon {

class CYbTxtParam;

struct RecentFile {
    std::u16string label;
    std::u16string path;
};

class CYbRecentFiles {
  public:
    static constexpr int kStored = 9;
    static constexpr int kShown = 10;

    // HistFile9 .. HistFile1, skipping empty ones, so that HistFile1 ends up newest.
    void load(const CYbTxtParam& param);
    // The newest nine into HistFile1.. / HistFileTitle1..; later keys keep their values.
    void store(CYbTxtParam& param) const;
    // Moves the path to the newest place (one entry per path).
    void record(const std::u16string& path, const std::u16string& title,
                const std::u16string& author);
    // A text opened from a file: the newest entry here, and LastFile and LastFolder for the
    // next start. False, recording nothing, when the path is empty.
    bool recordOpened(CYbTxtParam& param, const std::u16string& path, const std::u16string& title,
                      const std::u16string& author);
    // Entry of the menu item at `position` (1 = newest); null when there is none.
    const RecentFile* menuEntry(int position) const;
    // The menu texts of the newest ten, "&1: label" .. "&0: label".
    std::vector<std::u16string> menuTexts() const;
    const std::vector<RecentFile>& entries() const { return entries_; }

  private:
    std::vector<RecentFile> entries_;
};

// "title:author" without line breaks, or empty when both are empty.
std::u16string RecentLabel(const std::u16string& title, const std::u16string& author);

}  // namespace Yomibon
