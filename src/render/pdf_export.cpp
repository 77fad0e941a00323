#include "render/pdf_export.h"

#include <cairo-pdf.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/paths.h"
#include "platform/utf16.h"
#include "render/pdf_page.h"
#include "settings/file_io.h"
#include "text/txt_document.h"

namespace Yomibon {
namespace {

// Points (1/72 inch) per pixel of the page map.
constexpr double kPointsPerPixel = 72.0 / 25.4 / kPdfPixelsPerMm;

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct ContextDeleter {
    void operator()(cairo_t* c) const { cairo_destroy(c); }
};

// One PDF page: the book page (or the spread's first page) and the band of the spread.
struct OutPage {
    int page;
    bool wholeSpread;
};

std::vector<OutPage> PagesOf(int first, int last, bool spreads) {
    std::vector<OutPage> out;
    if (spreads) {
        for (int p = first & ~1; p <= last; p += 2)
            out.push_back({p, true});
    } else {
        for (int p = first; p <= last; ++p)
            out.push_back({p, false});
    }
    return out;
}

bool FolderWritable(const std::filesystem::path& target) {
    std::filesystem::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec) && access(folder.c_str(), W_OK) == 0;
}

PdfExportStatus WriteFailure(const std::filesystem::path& target, size_t bytes) {
    if (!FolderWritable(target)) return PdfExportStatus::FolderNotWritable;
    std::filesystem::path folder = target.parent_path();
    struct statvfs fs;
    if (statvfs(folder.empty() ? "." : folder.c_str(), &fs) == 0 &&
        uint64_t(fs.f_bavail) * fs.f_frsize < bytes + (uint64_t(1) << 16))
        return PdfExportStatus::DiskFull;
    return PdfExportStatus::WriteFailed;
}

void SetMetadata(cairo_surface_t* surface, const CYbTxtDocument& document,
                 const PdfExportOptions& options) {
    // A text without a title of its own is named after its file's path: a PDF takes the
    // caller's title, or the file's name without its folder and extension.
    std::u16string title = document.buffer().getTitle();
    if (title.empty() || title == document.getFileName()) {
        title = options.fallbackTitle;
        if (title.empty() && !document.getFileName().empty())
            title = FromUtf8(ToFsPath(document.getFileName()).stem().string());
    }
    if (!title.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, ToUtf8(title).c_str());
    const std::u16string& author = document.buffer().getAuthor();
    if (!author.empty())
        cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_AUTHOR, ToUtf8(author).c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Yomibon");
}

// The headings as bookmarks, nested by level, each opening the page it begins on.
void AddOutline(cairo_surface_t* surface, const CYbTxtDocument& document,
                const MapGeometry& geometry, const std::vector<OutPage>& pages) {
    std::vector<std::pair<int, int>> parents;  // level, outline id
    for (const OutlineEntry& e : document.outline()) {
        const int page = PageOfPoint(document.buffer(), geometry, e.begin);
        auto at = std::find_if(pages.begin(), pages.end(), [&](const OutPage& p) {
            return p.page == page || (p.wholeSpread && p.page + 1 == page);
        });
        if (at == pages.end() || e.text.empty()) continue;
        while (!parents.empty() && parents.back().first >= e.level)
            parents.pop_back();
        const int parent = parents.empty() ? CAIRO_PDF_OUTLINE_ROOT : parents.back().second;
        const std::string dest = "page=" + std::to_string(at - pages.begin() + 1);
        int id = cairo_pdf_surface_add_outline(surface, parent, ToUtf8(e.text).c_str(),
                                               dest.c_str(), CAIRO_PDF_OUTLINE_FLAG_OPEN);
        parents.emplace_back(e.level, id);
    }
}

}  // namespace

bool ParsePageRange(const std::string& text, int& first, int& last) {
    if (text.empty()) return false;
    auto number = [](const std::string& s, int& out) {
        if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
            return false;
        out = std::atoi(s.c_str());
        return true;
    };
    size_t dash = text.find('-');
    if (dash == std::string::npos) {
        if (!number(text, first)) return false;
        last = first;
        return true;
    }
    std::string a = text.substr(0, dash), b = text.substr(dash + 1);
    first = 0;
    last = -1;
    if (a.empty() && b.empty()) return false;
    if (!a.empty() && !number(a, first)) return false;
    if (!b.empty() && !number(b, last)) return false;
    return last < 0 || first <= last;
}

PdfExportResult ExportPdf(const CYbTxtParam& param, CYbTxtDocument& document,
                          const CYbTxtLayout& layout, const std::filesystem::path& target,
                          const PdfExportOptions& options, const PdfProgress& progress) {
    PdfExportResult result;
    const int count = document.getPageCount();
    const int first = std::max(options.firstPage, 0);
    const int last = options.lastPage < 0 ? count : std::min(options.lastPage, count);
    if (first > last) {
        result.status = PdfExportStatus::NoPages;
        return result;
    }
    // Finding out at the end that the folder cannot be written would waste the whole run.
    if (!FolderWritable(target)) {
        result.status = PdfExportStatus::FolderNotWritable;
        return result;
    }
    CYbPdfPage device(param, document, layout);
    if (!device.ready()) return result;
    const MapRect paper = device.paper();
    const std::vector<OutPage> pages = PagesOf(first, last, options.spreads);
    std::string pdf;
    std::unique_ptr<cairo_surface_t, SurfaceDeleter> surface(
        cairo_pdf_surface_create_for_stream(Append, &pdf, 1, 1));
    cairo_pdf_surface_restrict_to_version(surface.get(), CAIRO_PDF_VERSION_1_5);
    SetMetadata(surface.get(), document, options);
    std::unique_ptr<cairo_t, ContextDeleter> cr(cairo_create(surface.get()));
    const int half = paper.width() / 2;
    int built = -1;
    for (size_t i = 0; i < pages.size(); ++i) {
        const OutPage& out = pages[i];
        // Even pages are the right half of their spread, odd pages the left.
        int left = paper.left, right = paper.right;
        if (!out.wholeSpread) {
            left = out.page % 2 == 0 ? paper.left + half : paper.left;
            right = out.page % 2 == 0 ? paper.right : paper.left + half;
        }
        cairo_pdf_surface_set_size(surface.get(), (right - left) * kPointsPerPixel,
                                   paper.height() * kPointsPerPixel);
        if (built != (out.page & ~1)) {
            device.build(out.page);
            built = out.page & ~1;
        }
        cairo_save(cr.get());
        cairo_scale(cr.get(), kPointsPerPixel, kPointsPerPixel);
        cairo_translate(cr.get(), -left, -paper.top);
        if (options.background) device.drawBackground(cr.get(), left, right);
        device.draw(cr.get(), left, right);
        cairo_restore(cr.get());
        cairo_show_page(cr.get());
        if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS) return result;
        if (progress && !progress(int(i) + 1, int(pages.size()))) {
            result.status = PdfExportStatus::Cancelled;
            return result;
        }
    }
    AddOutline(surface.get(), document, device.geometry(), pages);
    cr.reset();
    cairo_surface_finish(surface.get());
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return result;
    result.pages = int(pages.size());
    result.bytes = pdf.size();
    result.missingPictures = device.missingPictures();
    result.missingGlyphs = device.missingGlyphs();
    result.status = WriteFileAtomic(target, pdf, false) ? PdfExportStatus::Done
                                                        : WriteFailure(target, pdf.size());
    return result;
}

}  // namespace Yomibon
