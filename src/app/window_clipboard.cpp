#include "app/window_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace Yomibon {

bool CYbWindowClipboard::getText(std::u16string& out) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasText()) return false;
    out = data->text().toStdU16String();
    return true;
}

bool CYbWindowClipboard::setText(const std::u16string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    // Linux programs end lines with LF; the text's own CR LF would paste as stray CRs.
    QString plain = QString::fromStdU16String(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    clipboard->setText(plain);
    return true;
}

bool CYbWindowClipboard::hasText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasText();
}

}  // namespace Yomibon
