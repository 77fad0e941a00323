// A layout for document tests whose arrangement a person can work out by hand: every
// buffer line is exactly one column, numbered in order.
#pragma once

#include <string>

#include "text/txt_document.h"

namespace Yomibon::Test {

class OneColumnPerLineLayout : public CYbTxtDocumentLayout {
  public:
    void loadLayout(std::u16string_view file) override {
        loaded = std::u16string(file);
        ++loads;
    }
    int lineCount() const override { return columns; }
    int textBoxCount() const override { return boxes; }
    void arrange(CYbTxtDocument& document) override {
        int32_t column = 0;
        for (LineInfo& line : document.buffer().lines()) {
            line.iStartCol = column;
            line.turns.assign(1, TextTurnPos{0, 0, 0, 0, column, -1});
            line.iNextCol = ++column;
        }
        ++arranged;
    }

    int columns = 4;  // two columns per page
    int boxes = 2;
    std::u16string loaded;
    int loads = 0;
    int arranged = 0;
};

// The clipboard as the window would hand it over.
class StringClipboard : public CYbTxtDocument::CYbClipboardText {
  public:
    bool getText(std::u16string& out) override {
        if (!available) return false;
        out = text;
        return true;
    }
    bool available = true;
    std::u16string text;
};

}  // namespace Yomibon::Test
