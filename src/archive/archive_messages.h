// The messages shown when an archive cannot be opened (string-table ids 40067-40072).
#pragma once

#include <string>
#include <string_view>

namespace Yomibon {

// Message ids by extraction result.
enum : int {
    IDS_ARCHIVE_READ_FAILED = 40067,
    IDS_ARCHIVE_UNSUPPORTED = 40068,
    IDS_ARCHIVE_NOT_FOUND = 40069,
    IDS_ARCHIVE_DLL_NOT_FOUND = 40070,
    IDS_ARCHIVE_DLL_RUNNING = 40071,
    IDS_ARCHIVE_FAILED = 40072,
    IDS_ARCHIVE_TOO_LARGE = 40079,
};

// The message id of a failed extraction's result code; 0 for success.
int ArchiveMessageId(int result);

// The text of one of the ids above, with its inserts unfilled ("%1!s!" the archive path,
// "%2!s!" the library name); empty for any other id.
std::u16string_view ArchiveMessageText(int id);

// The message for a failed extraction with both inserts filled.
std::u16string FormatArchiveMessage(int result, std::u16string_view archivePath,
                                    std::u16string_view dllName);

}  // namespace Yomibon
