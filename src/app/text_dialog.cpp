#include "app/text_dialog.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <vector>

#include "platform/codepage.h"
#include "platform/format.h"

namespace Yomibon {
namespace {

QString Q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

}  // namespace

CYbTextDialog::CYbTextDialog(QWidget* parent, const QString& title, const std::u16string& text)
    : QDialog(parent) {
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    edit_ = new QPlainTextEdit(this);
    edit_->setReadOnly(true);
    std::u16string shown;
    for (char16_t c : text)
        if (c != u'\r') shown += c;
    edit_->setPlainText(Q(shown));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    resize(520, 360);
}

QString CYbTextDialog::text() const {
    return edit_->toPlainText();
}

CYbVersionDlg::CYbVersionDlg(QWidget* parent)
    : CYbTextDialog(parent, QStringLiteral("Yomibon について"), VersionText()) {}

std::u16string CYbVersionDlg::VersionText() {
    return FormatMessage(
        u"%s\r\n%s %s\r\n\r\n%s\r\n\r\n%s",
        {std::u16string(u"Yomibon"), std::u16string(u"Version"), std::u16string(u"0.1.0"),
         std::u16string(u"青空文庫形式のテキストを縦書きで読むリーダー"),
         std::u16string(u"Fonts: IPA明朝 (IPA Font License)")});
}

CYbPropertyDlg::CYbPropertyDlg(QWidget* parent, const std::u16string& path)
    : CYbTextDialog(parent, QStringLiteral("プロパティ"), PropertyText(path)) {}

std::u16string CYbPropertyDlg::PropertyText(const std::u16string& path) {
    QFileInfo info(Q(path));
    if (!info.exists()) return path;
    QString encoding = QStringLiteral("-");
    QFile file(info.absoluteFilePath());
    // The detector needs only the head of the file.
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray head = file.read(64 * 1024);
        int codePage = DetectCodePage(head.constData(), size_t(head.size()));
        const char* name = CodePageName(codePage);
        encoding = QStringLiteral("%1 (%2)").arg(name ? name : "?").arg(codePage);
    }
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm:ss");
    QString text = QStringLiteral(
                       "場所: %1\nサイズ: %2 バイト\n作成日時: %3\n更新日時: %4\n"
                       "アクセス日時: %5\n文字コード: %6")
                       .arg(info.absoluteFilePath())
                       .arg(info.size())
                       .arg(info.birthTime().isValid() ? info.birthTime().toString(format)
                                                       : QStringLiteral("-"))
                       .arg(info.lastModified().toString(format))
                       .arg(info.lastRead().toString(format))
                       .arg(encoding);
    return text.toStdU16String();
}

}  // namespace Yomibon
