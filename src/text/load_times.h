// Milliseconds spent in the phases of the last open of a document, all measured within
// that one open.
#pragma once

namespace Yomibon {

struct TextLoadTimes {
    double read = 0;
    double decode = 0;
    double parse = 0;  // the rest of the load: parsing and filling the buffer
    double outline = 0;
    double arrange = 0;
    // A long text opened head first: reading and parsing its head, and how long putting the
    // whole text in its place waited for the second thread (read, decode and parse above
    // are then the whole text's, loaded on that thread).
    double head = 0;
    double restWait = 0;
};

}  // namespace Yomibon
