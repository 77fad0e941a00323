// What `info` prints of an opened text: title, author, lines, pages, outline and the time
// each phase of opening took.
#pragma once

namespace Yomibon {
class CYbTxtDocument;
}

namespace Yomibon::Cli {

void PrintInfo(const CYbTxtDocument& doc);

}  // namespace Yomibon::Cli
