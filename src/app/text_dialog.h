// A dialog that shows a read-only text: the version, the document information and the
// file properties.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

namespace Yomibon {

class CYbTextDialog : public QDialog {
    Q_OBJECT

  public:
    CYbTextDialog(QWidget* parent, const QString& title, const std::u16string& text);
    QString text() const;

  private:
    QPlainTextEdit* edit_ = nullptr;
};

// Yomibon について: the program's version record.
class CYbVersionDlg : public CYbTextDialog {
    Q_OBJECT

  public:
    explicit CYbVersionDlg(QWidget* parent);
    static std::u16string VersionText();
};

// 文書情報: the title, author, explanatory notes and bibliography of the document.
class CYbTxtDocInfoDlg : public CYbTextDialog {
    Q_OBJECT

  public:
    CYbTxtDocInfoDlg(QWidget* parent, const std::u16string& info)
        : CYbTextDialog(parent, QStringLiteral("文書情報"), info) {}
};

// The properties of the document's file: path, size, dates and detected encoding.
class CYbPropertyDlg : public CYbTextDialog {
    Q_OBJECT

  public:
    CYbPropertyDlg(QWidget* parent, const std::u16string& path);
    static std::u16string PropertyText(const std::u16string& path);
};

}  // namespace Yomibon
