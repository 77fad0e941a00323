// The command lines the archiver libraries accept, one format per library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "archive/archiver_api.h"

namespace Yomibon {

// One word of a command line; `quoted` when it began with a double quote, so that a
// quoted archive name starting with "-" is never taken for a switch.
struct CommandWord {
    std::string text;
    bool quoted = false;
};

// What a command line asks for: unpack the archive into the folder, the entries that
// match one of the patterns (all entries when there are none).
struct ArchiverCommand {
    std::string archive;
    std::string destination;
    std::vector<std::string> patterns;
};

// Splits at blanks outside double quotes; the quotes themselves are dropped
// ("-o\"a b\"" is the word "-oa b"). False when a quote is left open.
bool SplitCommandLine(std::string_view line, std::vector<CommandWord>& words);

// Reads a command line of the library's format:
//   Lha       x "ARCHIVE" "FOLDER" [PATTERN...]
//   Zip       -x [-s] "ARCHIVE" "FOLDER" [PATTERN...]
//   SevenZip  x "ARCHIVE" -o"FOLDER" [PATTERN...]
// False when the line does not fit the format; nothing else is understood.
bool ParseArchiverCommand(ArchiverKind kind, std::string_view line, ArchiverCommand& out);

}  // namespace Yomibon
