// Matchers that the settings store's character lists are searched with.
#pragma once

#include <string_view>

namespace Yomibon {

// Answers whether one list entry matches.
class CYbStringCompare {
  public:
    virtual bool Compare(std::u16string_view entry) const = 0;

  protected:
    ~CYbStringCompare() = default;
};

// Matches an entry that the text begins with: a character "is in" a list when the text at
// that point begins with one of the list's entries.
class CYbStartsWithCompare final : public CYbStringCompare {
  public:
    explicit CYbStartsWithCompare(std::u16string_view text) : text_(text) {}
    bool Compare(std::u16string_view entry) const override {
        return !entry.empty() && text_.substr(0, entry.size()) == entry;
    }

  private:
    std::u16string_view text_;
};

}  // namespace Yomibon
