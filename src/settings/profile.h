// Profile (INI) files with the semantics of the Windows profile functions: section headers
// in square brackets, "key=value" lines; names compare without regard to ASCII case.
// Reading trims blanks and removes one pair of matching enclosing quotes; writing replaces
// the key's line or appends it to its section, creating the section as needed. UTF-8 on
// disk; UTF-16LE and Shift_JIS files are read too.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Yomibon {

// A profile file held in memory, so that a whole settings file is read once and written
// once (through a temporary file and a rename).
class CYbProfile {
  public:
    // Reads a file; false (profile left empty) when it is missing or unreadable.
    bool Load(const std::filesystem::path& file);
    void Parse(std::u16string_view text);
    // The last Load read the whole file and decoded every byte of it, so that saving the
    // profile over the file loses nothing of it.
    bool Intact() const { return intact_; }

    // The value with blanks trimmed and one pair of enclosing quotes removed; false when
    // the section or key is absent.
    bool GetString(std::u16string_view section, std::u16string_view key, std::u16string& out) const;
    // The value with blanks trimmed only.
    bool GetRawString(std::u16string_view section, std::u16string_view key,
                      std::u16string& out) const;
    // The integer at the start of the value (0 when it is not a number); the default when
    // the key is absent.
    int32_t GetInt(std::u16string_view section, std::u16string_view key, int32_t def) const;

    // Replaces the key's line or appends "key=value" to the section, creating it at the end.
    // Line breaks and zero characters cannot be stored in a profile line and become spaces.
    void WriteString(std::u16string_view section, std::u16string_view key,
                     std::u16string_view value);

    // The file's text (lines joined with the line end the file was read with, LF for a new one).
    std::u16string ToText() const;
    // Writes the whole file atomically; false leaves the old file intact.
    bool Save(const std::filesystem::path& file) const;

  private:
    // Index of the header line of a section, or npos.
    size_t FindSection(std::u16string_view section) const;
    // Index of the first line of a key within the section starting at header, or npos.
    size_t FindKey(size_t header, std::u16string_view key) const;
    bool FindValue(std::u16string_view section, std::u16string_view key,
                   std::u16string_view& value) const;

    std::vector<std::u16string> lines_;
    bool crlf_ = false;
    bool intact_ = true;
};

// One-call forms that read or rewrite the file each time.
std::u16string ProfileGetString(std::u16string_view section, std::u16string_view key,
                                std::u16string_view def, const std::filesystem::path& file);
int32_t ProfileGetInt(std::u16string_view section, std::u16string_view key, int32_t def,
                      const std::filesystem::path& file);
bool ProfileWriteString(std::u16string_view section, std::u16string_view key,
                        std::u16string_view value, const std::filesystem::path& file);

}  // namespace Yomibon
