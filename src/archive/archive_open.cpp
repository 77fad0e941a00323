#include "archive/archive_open.h"

#include <algorithm>

#include "archive/archive_base.h"
#include "archive/archive_messages.h"
#include "platform/paths.h"
#include "settings/data_folder.h"

namespace Yomibon {

namespace fs = std::filesystem;

namespace {

bool IsTextName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string ext = name.substr(name.size() - 4);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; });
    return ext == ".txt";
}

void CollectTexts(const fs::path& folder, std::vector<std::u16string>& out) {
    std::vector<fs::path> folders;
    std::vector<fs::path> texts;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code typeError;
        if (entry.is_symlink(typeError)) {
            // A linked folder may lead back up; a linked text is read like a text.
            if (entry.is_regular_file(typeError) && IsTextName(entry.path().filename()))
                texts.push_back(entry.path());
        } else if (entry.is_directory(typeError)) {
            folders.push_back(entry.path());
        } else if (entry.is_regular_file(typeError) && IsTextName(entry.path().filename())) {
            texts.push_back(entry.path());
        }
    }
    std::sort(folders.begin(), folders.end());
    std::sort(texts.begin(), texts.end());
    for (const fs::path& sub : folders)
        CollectTexts(sub, out);
    for (const fs::path& text : texts)
        out.push_back(FromFsPath(text));
}

ArchiveOpening Failure(int result, std::u16string_view archivePath, std::u16string dllName) {
    ArchiveOpening opening;
    opening.action = ArchiveOpening::SHOW_MESSAGE;
    opening.result = result;
    opening.messageId = ArchiveMessageId(result);
    opening.message = FormatArchiveMessage(result, archivePath, dllName);
    opening.dllName = std::move(dllName);
    return opening;
}

}  // namespace

std::u16string ArchiveFolder(std::u16string_view archivePath, const fs::path& dataFolder) {
    const size_t slash = archivePath.rfind(u'/');
    const std::u16string_view name =
        slash == std::u16string_view::npos ? archivePath : archivePath.substr(slash + 1);
    if (name.empty() || name == u"." || name == u"..") return {};
    return FromFsPath(dataFolder / "Archive" / ToFsPath(name)) + u"/";
}

std::vector<std::u16string> FindArchiveTexts(const fs::path& folder) {
    std::vector<std::u16string> texts;
    CollectTexts(folder, texts);
    return texts;
}

ArchiveOpening OpenArchive(std::u16string_view archivePath, const fs::path& dataFolder) {
    const std::u16string folder = ArchiveFolder(archivePath, dataFolder);
    if (folder.empty()) return Failure(ARCHIVE_RESULT_UNSUPPORTED, archivePath, {});
    std::u16string dllName;
    const int result = ExtractArchive(archivePath, dllName, folder);
    if (result != ARCHIVE_RESULT_OK) {
        ArchiveOpening opening = Failure(result, archivePath, std::move(dllName));
        opening.folder = folder;
        return opening;
    }
    ArchiveOpening opening;
    opening.result = result;
    opening.folder = folder;
    const std::vector<std::u16string> texts = FindArchiveTexts(ToFsPath(folder));
    if (texts.size() == 1) {
        opening.action = ArchiveOpening::OPEN_TEXT;
        opening.textPath = texts.front();
    } else {
        opening.action = ArchiveOpening::CHOOSE_TEXT;
    }
    return opening;
}

ArchiveOpening OpenArchive(std::u16string_view archivePath) {
    return OpenArchive(archivePath, DataFolder());
}

}  // namespace Yomibon
