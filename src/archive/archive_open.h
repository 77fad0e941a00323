// Opening an archive: unpack it into its own folder under the data folder and find the
// text to open. What needs a window (the wait cursor, the file dialog, the message box,
// the current directory) is left to the caller, which acts on the answer.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace Yomibon {

struct ArchiveOpening {
    enum Action {
        OPEN_TEXT,     // open `textPath`, the one text found
        CHOOSE_TEXT,   // none or several texts: let the user pick one inside `folder`
        SHOW_MESSAGE,  // extraction failed: show `message`; the open document stays
    };
    Action action = SHOW_MESSAGE;
    int result = 0;         // the extraction's result code
    std::u16string folder;  // the extraction folder, ending with "/"; made current on success
    std::u16string textPath;
    std::u16string dllName;  // the library, when extraction failed
    int messageId = 0;       // 40067-40072 when extraction failed
    std::u16string message;  // the message with its inserts filled
};

// The extraction folder of an archive: "Archive/<file name>/" under the data folder,
// the file name being the path's last component with its extension. Empty when the path
// has no usable file name.
std::u16string ArchiveFolder(std::u16string_view archivePath,
                             const std::filesystem::path& dataFolder);

// Every "*.txt" file below the folder (letter case ignored), in every folder the files
// of its subfolders before its own, each level in name order. Linked folders are not
// entered.
std::vector<std::u16string> FindArchiveTexts(const std::filesystem::path& folder);

// Unpacks the archive (again, each time it is opened) and says what to do next.
ArchiveOpening OpenArchive(std::u16string_view archivePath,
                           const std::filesystem::path& dataFolder);
ArchiveOpening OpenArchive(std::u16string_view archivePath);  // under DataFolder()

}  // namespace Yomibon
