#include "app/pdf_export_flow.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QProgressDialog>

#include "app/qt_string.h"
#include "platform/paths.h"
#include "text/txt_document.h"

namespace Yomibon {

std::u16string PdfExportFailureMessage(PdfExportStatus status, const std::u16string& path) {
    switch (status) {
        case PdfExportStatus::Done:
        case PdfExportStatus::Cancelled:
            return {};
        case PdfExportStatus::NoPages:
            return u"書き出すページがありません。";
        case PdfExportStatus::FolderNotWritable:
            return u"このフォルダーには書き込めません。別の場所を選んでください。\n" + path;
        case PdfExportStatus::DiskFull:
            return u"ディスクの空きが足りないため、PDFを書き出せませんでした。\n" + path;
        case PdfExportStatus::WriteFailed:
            return u"PDFファイルを書き込めませんでした。\n" + path;
        case PdfExportStatus::RenderFailed:
            return u"PDFを作れませんでした。フォントを読み込めない可能性があります。";
    }
    return u"PDFを書き出せませんでした。";
}

std::u16string SuggestedPdfName(const CYbTxtDocument& document) {
    const std::u16string& file = document.getFileName();
    std::u16string title = document.buffer().getTitle();
    std::filesystem::path folder = ToFsPath(file).parent_path();
    if (title.empty() || title == file) title = FromFsPath(ToFsPath(file).stem());
    for (char16_t& c : title)
        if (c == u'/' || c == u'\\' || c < 0x20) c = u'_';
    if (title.empty()) title = u"book";
    return FromFsPath(folder / ToFsPath(title + u".pdf"));
}

void CYbPdfExportFlow::run() {
    const QString name = QFileDialog::getSaveFileName(parent_, QStringLiteral("PDFに書き出し"),
                                                      ToQString(SuggestedPdfName(document_)),
                                                      QStringLiteral("PDFファイル (*.pdf)"));
    if (name.isEmpty()) return;
    std::u16string path = FromQString(name);
    const std::u16string base = path.substr(path.find_last_of(u'/') + 1);
    if (base.find(u'.') == std::u16string::npos) path += u".pdf";
    exportTo(path);
}

PdfExportStatus CYbPdfExportFlow::exportTo(const std::u16string& path) {
    QProgressDialog progress(QStringLiteral("PDFに書き出しています…"), QStringLiteral("中止"), 0,
                             document_.getPageCount() + 1, parent_);
    progress.setWindowTitle(QStringLiteral("PDFに書き出し"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    PdfExportResult r =
        ExportPdf(param_, document_, layout_, ToFsPath(path), {}, [&](int done, int total) {
            progress.setMaximum(total);
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    const std::u16string failure = PdfExportFailureMessage(r.status, path);
    if (!failure.empty() && message_) message_(failure);
    return r.status;
}

}  // namespace Yomibon
