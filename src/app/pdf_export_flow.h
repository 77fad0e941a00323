// ファイル → PDFに書き出し…: the file dialog, a progress dialog that can be cancelled, and
// a message when the file could not be written.
#pragma once

#include <QWidget>

#include <functional>
#include <string>

#include "render/pdf_export.h"

namespace Yomibon {

class CYbTxtDocument;
class CYbTxtLayout;
class CYbTxtParam;

// The message shown when an export ends other than done or cancelled.
std::u16string PdfExportFailureMessage(PdfExportStatus status, const std::u16string& path);

// The name offered in the file dialog: the document's folder and title with ".pdf"
// (characters a file name cannot hold replaced).
std::u16string SuggestedPdfName(const CYbTxtDocument& document);

class CYbPdfExportFlow {
  public:
    using MessageFunc = std::function<void(const std::u16string&)>;
    CYbPdfExportFlow(QWidget* parent, const CYbTxtParam& param, CYbTxtDocument& document,
                     const CYbTxtLayout& layout, MessageFunc message)
        : parent_(parent),
          param_(param),
          document_(document),
          layout_(layout),
          message_(std::move(message)) {}

    // Asks for the file, then exports.
    void run();
    // Exports to `path` with the progress dialog; the status the export ended with.
    PdfExportStatus exportTo(const std::u16string& path);

  private:
    QWidget* parent_;
    const CYbTxtParam& param_;
    CYbTxtDocument& document_;
    const CYbTxtLayout& layout_;
    MessageFunc message_;
};

}  // namespace Yomibon
