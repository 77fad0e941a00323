// Where a picture, its caption and (for a missing file) its frame go inside the boxes the
// arranger gave the picture.
#pragma once

#include <string>

#include "layout/page_map_entry.h"

namespace Yomibon {

// The fields of a picture run: file, caption, the stated size ("横496×縦200") read as
// pixels (0 when absent or unreadable).
struct PictureFields {
    std::u16string file;
    std::u16string caption;
    int width = 0;
    int height = 0;
};
PictureFields ReadPictureFields(const std::u16string& runText);

// The picture's area and the caption column within the boxes' rectangle: a caption takes
// a column of `captionWidth` on the left (the side the text goes on to), the picture the
// rest. Without a caption the picture has the whole rectangle.
struct PictureAreas {
    MapRect picture;
    MapRect caption;
};
PictureAreas SplitPictureArea(const MapRect& boxes, bool hasCaption, int captionWidth);

// The frame drawn for a picture that cannot be shown: the stated size scaled to fit the
// area like the picture would be (top-left aligned, aspect kept); the whole area without
// a stated size.
MapRect MissingPictureFrame(const MapRect& area, int width, int height);

// The columns written inside a missing picture's frame: the file name down its right
// edge, and the caption beside it when the caption has no column of its own (empty
// rectangle otherwise). `note` is the note type's size.
struct MissingPictureColumns {
    MapRect name;
    MapRect caption;
};
MissingPictureColumns MissingPictureText(const MapRect& frame, const PictureAreas& areas,
                                         bool hasCaption, int note);

}  // namespace Yomibon
