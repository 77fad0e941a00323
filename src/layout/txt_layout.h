// Page layouts: the paper of a spread and the rectangles in which text, notes, page numbers
// (nombres) and running heads are set. Lengths are 1/100 mm from the spread's top-left
// corner, x to the right, y downwards; the right-hand page comes first.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "settings/csv_text.h"

namespace Yomibon {

// A rectangle with the columns set in it and the cells of each column; the field order is
// the order of a .lay file's box rows.
struct LayoutBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t lines = 0;
    int32_t chars = 0;
    bool operator==(const LayoutBox&) const = default;
};

// A character size and the spacing that goes with it.
struct SizePair {
    int32_t size = 0;
    int32_t spacing = 0;
    bool operator==(const SizePair&) const = default;
};

enum BoxKind : int { TextLayout = 0, NoteLayout = 1, NombreLayout = 2, RunningHeadsLayout = 3 };
constexpr int kBoxKindCount = 4;

enum SizeKind : int {
    TextSize = 0,
    RubySize = 1,
    NombreSize = 2,
    NoteSize = 3,
    RunningHeadsSize = 4
};
constexpr int kSizeKindCount = 5;

class CYbBunkoTxtLayout;
class CYbShinShoTate2TxtLayout;

// The shell's side of the layout settings dialogs; the core itself has no windows.
class CYbLayoutDialogHost {
  public:
    virtual int ShowBunkoDialog(void* parent, CYbBunkoTxtLayout& layout) = 0;
    virtual int ShowShinshoDialog(void* parent, CYbShinShoTate2TxtLayout& layout) = 0;

  protected:
    ~CYbLayoutDialogHost() = default;
};

class CYbTxtLayout {
  public:
    using BoxList = std::vector<LayoutBox>;

    CYbTxtLayout();
    virtual ~CYbTxtLayout();

    // Loads a .lay file (relative paths are taken from the data folder); null means
    // "Layout/Layout.lay". False, with the layout unchanged, for an unreadable or foreign
    // file; false, with the built-in layout, for a file without text columns.
    virtual bool Open(const char16_t* path);
    // Writes a .lay file; null means the stored file name. True when the file was written.
    virtual bool Save(const char16_t* path);
    // The built-in layout when no file is stored, else the stored file opened again.
    virtual bool Reload();
    virtual std::u16string GetFileName() const;
    virtual void SetDefault() = 0;
    // Columns per spread.
    virtual int GetLineCount() const;
    virtual int GetCharCount() const;
    virtual std::pair<int32_t, int32_t> GetPaperSize() const;
    virtual void ClearBoxes();
    // True when the first row of two fields whose key begins with "LayoutType" names a type
    // beginning with GetTypeName().
    virtual bool IsLayoutRows(const CYbCSVText& rows) const;
    virtual bool IsLayoutFile(const char16_t* path) const;
    // Copies boxes, sizes, nombre placement, paper size and counts (not the texts).
    virtual void CopyFrom(const CYbTxtLayout& other);
    virtual void SetLineCount(int count);
    virtual void SetCharCount(int count);
    virtual void SetPaperSize(int32_t width, int32_t height);
    virtual void Dump(std::ostream& out) const;
    virtual std::u16string GetTypeName() const = 0;
    virtual int ShowSettingsDialog(void* parent, CYbLayoutDialogHost* host) = 0;
    virtual void SetSize(SizeKind kind, const SizePair& pair);
    virtual SizePair GetSize(SizeKind kind) const;
    virtual const BoxList& GetBoxes(BoxKind kind) const;
    virtual BoxList& GetBoxes(BoxKind kind);
    virtual void AddBox(BoxKind kind, const LayoutBox& box);
    // Applies one row of a .lay file; the key is matched by prefix.
    virtual void ReadRow(const CYbCSVText::Row& row);
    // Appends every row of a .lay file.
    virtual void WriteRows(CYbCSVText& csv) const;

    // Plain accessors of the texts and the nombre placement.
    const std::u16string& GetNombreFormat(int index) const { return nombreFormat_[index & 1]; }
    void SetNombreFormat(int index, std::u16string_view format) {
        nombreFormat_[index & 1] = format;
    }
    int GetNumbreFormatType() const { return numbreFormatType_; }
    void SetNumbreFormatType(int type) { numbreFormatType_ = type; }
    const std::u16string& GetLayoutName() const { return layoutName_; }
    void SetLayoutName(std::u16string_view name) { layoutName_ = name; }
    const std::u16string& GetLayoutType() const { return layoutType_; }
    void SetLayoutType(std::u16string_view type) { layoutType_ = type; }
    void SetFileName(std::u16string_view file) { fileName_ = file; }
    // Text boxes per page (half the text boxes, at least 1) and columns per page.
    int GetBoxesPerPage() const;
    int GetLinesPerPage() const { return GetLineCount() / 2; }

  protected:
    // Installs the built-in bunko layout (shared by the custom and bunko kinds).
    void SetBunkoDefault();
    // Clears the boxes and sets the paper, the columns and characters a spread holds, and
    // the type sizes and nombre format every built-in layout shares.
    void SetBuiltInBase(int32_t paperWidth, int32_t paperHeight, int lines, int chars);
    // The path's text in the file: a relative path stays relative to the data folder.
    bool OpenFile(const std::u16string& path);

    BoxList boxes_[kBoxKindCount];
    SizePair sizes_[kSizeKindCount];
    std::u16string nombreFormat_[2];
    int numbreFormatType_ = 0;
    int32_t paperSize_[2] = {0, 0};
    int32_t pageCharCount_[2] = {0, 0};
    std::u16string fileName_;
    std::u16string layoutName_;
    std::u16string layoutType_;
};

}  // namespace Yomibon
