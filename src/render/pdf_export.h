// Exporting a typeset document as a PDF: one page per book page (or per spread), vector
// text that can be searched and copied, the headings as bookmarks. The file appears whole
// or not at all.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace Yomibon {

class CYbTxtDocument;
class CYbTxtLayout;
class CYbTxtParam;

struct PdfExportOptions {
    int firstPage = 0;        // book pages, inclusive; clamped to the document
    int lastPage = -1;        // below 0: the last page
    bool spreads = false;     // one PDF page per spread instead of per page
    bool background = false;  // the page colour and background picture
    // The title when the document has none of its own; else its file name is taken.
    std::u16string fallbackTitle;
};

enum class PdfExportStatus {
    Done,
    Cancelled,
    NoPages,            // the range holds no page of the document
    FolderNotWritable,  // the target's folder is missing or cannot be written
    DiskFull,
    WriteFailed,   // the file could not be written for another reason
    RenderFailed,  // no font, or the PDF could not be made
};

struct PdfExportResult {
    PdfExportStatus status = PdfExportStatus::RenderFailed;
    int pages = 0;  // PDF pages written
    size_t bytes = 0;
    int missingPictures = 0;  // drawn as frames with their file names
    int missingGlyphs = 0;    // external glyphs without an outline, drawn as notes
};

// Called after each PDF page with the pages done and the pages in all; false cancels.
using PdfProgress = std::function<bool(int done, int total)>;

// Writes the document's pages in the range to `target`, replacing a file there only when
// the whole PDF was made and written.
PdfExportResult ExportPdf(const CYbTxtParam& param, CYbTxtDocument& document,
                          const CYbTxtLayout& layout, const std::filesystem::path& target,
                          const PdfExportOptions& options, const PdfProgress& progress = {});

// "A-B", "A-", "-B" or "A" into a page range; false when malformed.
bool ParsePageRange(const std::string& text, int& first, int& last);

}  // namespace Yomibon
