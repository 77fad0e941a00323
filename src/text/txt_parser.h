// The family of parsers that turn a source text into the lines of a text buffer.
#pragma once

#include <string>

#include "text/text_buffer.h"

namespace Yomibon {

class CYbTxtParser {
  public:
    // Milliseconds spent reading and decoding the file in the last loadFile; zero for the
    // phases a parser does not tell apart from its parsing.
    struct LoadPhases {
        double read = 0;
        double decode = 0;
    };

    virtual ~CYbTxtParser() = default;
    // Reads and decodes a file, then parses it; false only when the file cannot be opened.
    virtual bool loadFile(const std::u16string& fileName, CYbTxtBuffer& buffer) = 0;
    // Parses a zero-terminated text held in a writable block (line ends are overwritten
    // with zeros); false only for a null text.
    virtual bool parseText(char16_t* text, CYbTxtBuffer& buffer) = 0;
    virtual std::u16string getName() const = 0;
    virtual std::u16string getTitle() const = 0;
    virtual std::u16string getAuthor() const = 0;
    virtual std::u16string getInfo() const = 0;
    // What the reader should be told about the text as read (a limit it ran into, so that
    // part of its markup was left out); empty when nothing.
    virtual std::u16string getNotice() const { return {}; }
    const LoadPhases& loadPhases() const { return phases_; }

  protected:
    LoadPhases phases_;
};

}  // namespace Yomibon
