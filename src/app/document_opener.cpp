#include "app/document_opener.h"

#include "app/open_failure.h"
#include "archive/archive_open.h"
#include "platform/paths.h"
#include "text/file_kind.h"
#include "text/txt_document.h"

namespace Yomibon {

CYbDocumentOpener::Outcome CYbDocumentOpener::open(const std::u16string& path, bool headFirst) {
    if (document_.getFileKind(path) == FK_ARCHIVE) return openArchive(path, headFirst);
    // A picture or a program is refused before it is read as text; the book stays.
    if (IsUnsupportedFile(path)) {
        if (hooks_.message) hooks_.message(OpenFailureMessage(path, {}));
        return FAILED;
    }
    // A shortcut that cannot be resolved is opened as it stands, like any other path.
    if (load(path, headFirst)) return OPENED;
    reportFailure(path);
    return FAILED;
}

CYbDocumentOpener::Outcome CYbDocumentOpener::openArchive(const std::u16string& path,
                                                          bool headFirst) {
    ArchiveOpening opening = OpenArchive(path, dataFolder_);
    if (opening.action == ArchiveOpening::SHOW_MESSAGE) {
        // The document stays as it was.
        if (hooks_.message) hooks_.message(opening.message);
        return UNCHANGED;
    }
    // The extraction folder stays current, so that the next file dialog starts there too.
    std::error_code ec;
    std::filesystem::current_path(ToFsPath(opening.folder), ec);
    std::u16string text = opening.textPath;
    if (opening.action == ArchiveOpening::CHOOSE_TEXT &&
        (!hooks_.chooseText || !hooks_.chooseText(opening.folder, text)))
        return UNCHANGED;
    if (load(text, headFirst)) return OPENED;
    reportFailure(text);
    return FAILED;
}

void CYbDocumentOpener::reportFailure(const std::u16string& path) {
    if (!hooks_.message || document_.lastLoadCancelled()) return;
    hooks_.message(OpenFailureMessage(path, document_.lastError()));
}

bool CYbDocumentOpener::load(const std::u16string& path, bool headFirst) {
    // A failed load leaves the document, and so the page shown, as they were.
    bool ok = document_.openFile(path, headFirst);
    if (ok && hooks_.loaded) hooks_.loaded();
    return ok;
}

}  // namespace Yomibon
