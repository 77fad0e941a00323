// What a drag and drop brings: a file list, a browser's link format or plain text, read in
// that order of preference. A dropped link file (.url, .desktop) stands for its URL.
#pragma once

#include <string>

class QMimeData;

namespace Yomibon {

struct DroppedItem {
    enum Kind { NOTHING, UNREADABLE, PATH, TEXT } kind = NOTHING;
    std::u16string value;
};

// True when the data offers something a drop could open.
bool OffersDrop(const QMimeData* data);
// NOTHING when nothing is offered, UNREADABLE when what is offered cannot be read.
DroppedItem ReadDrop(const QMimeData& data);

}  // namespace Yomibon
