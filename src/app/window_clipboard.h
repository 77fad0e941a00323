// The desktop clipboard as the document asks for it.
#pragma once

#include "text/txt_document.h"

namespace Yomibon {

class CYbWindowClipboard : public CYbTxtDocument::CYbClipboardText {
  public:
    bool getText(std::u16string& out) override;
    // Places Unicode text on the clipboard with LF line ends; false when there is no clipboard.
    static bool setText(const std::u16string& text);
    // True when the clipboard holds text (ReadClipboard's menu item follows it).
    static bool hasText();
};

}  // namespace Yomibon
