// Why a path could not be opened, in words a reader can act on: the file is missing, may not
// be read, is of a kind the reader does not show, or the loader's own reason (an address's
// HTTP status, a timeout).
#pragma once

#include <string>

namespace Yomibon {

// The message for a failed open of `path`; `loaderReason` is the loader's message (may be
// empty). Local paths are examined on disk, so that the reason is the one that holds now.
std::u16string OpenFailureMessage(const std::u16string& path, const std::u16string& loaderReason);

// True when a local file is plainly of a kind that is not text (a picture, a PDF, a program,
// an office document), judged by its first bytes: such a file is refused before loading.
bool IsUnsupportedFile(const std::u16string& path);

}  // namespace Yomibon
