#include "cli/cli_input.h"

#include <filesystem>

#include "archive/archive_open.h"
#include "platform/paths.h"
#include "platform/utf16.h"
#include "text/file_kind.h"

namespace Yomibon::Cli {

bool ResolveCliInput(const std::string& file, std::u16string& path, std::string& error) {
    path = FromUtf8(file);
    if (IsUrlName(path)) return true;
    std::error_code ec;
    path = NormalizePath(FromFsPath(std::filesystem::absolute(ToFsPath(path), ec)));
    if (ClassifyFileName(path) != FK_ARCHIVE) return true;
    ArchiveOpening opening = OpenArchive(path);
    switch (opening.action) {
        case ArchiveOpening::OPEN_TEXT:
            path = opening.textPath;
            return true;
        case ArchiveOpening::SHOW_MESSAGE:
            error = ToUtf8(opening.message);
            return false;
        case ArchiveOpening::CHOOSE_TEXT:
            break;
    }
    // The window lets the reader pick; here the reader names the text himself.
    std::vector<std::u16string> texts = FindArchiveTexts(ToFsPath(opening.folder));
    error = file + " holds " + std::to_string(texts.size()) + " texts, unpacked into " +
            ToUtf8(opening.folder) + "; open one of them:";
    for (const std::u16string& t : texts)
        error += "\n  " + ToUtf8(t);
    return false;
}

}  // namespace Yomibon::Cli
