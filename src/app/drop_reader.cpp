#include "app/drop_reader.h"

#include <QFile>
#include <QMimeData>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <cstring>

#include "app/internet_shortcut.h"
#include "app/qt_string.h"

namespace Yomibon {
namespace {

const QString kMozUrl = QStringLiteral("text/x-moz-url");
// Link files are small; anything beyond this is not one worth reading.
constexpr qint64 kLinkFileLimit = 64 * 1024;

// The browsers' link formats of the other desktop, under whatever name they travel.
bool IsLinkFormat(const QString& format) {
    return format.contains(QLatin1String("UniformResourceLocator")) ||
           format.contains(QLatin1String("Netscape Bookmark"));
}

// Text proper: QMimeData::hasText() also counts a URL list as text.
bool HasPlainText(const QMimeData& data) {
    return data.hasFormat(QStringLiteral("text/plain")) ||
           data.hasFormat(QStringLiteral("text/plain;charset=utf-8"));
}

bool IsRemote(const QUrl& url) {
    QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp");
}

QString Utf16(const QByteArray& bytes) {
    std::u16string units(size_t(bytes.size() / 2), u'\0');
    std::memcpy(units.data(), bytes.constData(), units.size() * 2);
    return ToQString(units);
}

// The URL in the first line of a link format; empty when there is none.
QString FirstLine(QString text) {
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\\r\\n\\x0]")));
    return (end < 0 ? text : text.left(end)).trimmed();
}

std::u16string LinkOrPath(const QString& file) {
    std::u16string path = FromQString(file);
    if (!IsLinkFileName(path)) return path;
    QFile link(file);
    if (!link.open(QIODevice::ReadOnly)) return path;
    QByteArray bytes = link.read(kLinkFileLimit);
    std::u16string url = LinkFileUrl(std::string_view(bytes.constData(), size_t(bytes.size())));
    return url.empty() ? path : url;
}

}  // namespace

bool OffersDrop(const QMimeData* data) {
    if (!data) return false;
    if (data->hasUrls() || data->hasFormat(kMozUrl) || HasPlainText(*data)) return true;
    const QStringList formats = data->formats();
    return std::any_of(formats.begin(), formats.end(), IsLinkFormat);
}

DroppedItem ReadDrop(const QMimeData& data) {
    bool offered = false;
    if (data.hasUrls()) {
        offered = true;
        const QList<QUrl> urls = data.urls();
        if (!urls.isEmpty() && urls.first().isLocalFile()) {
            QString file = urls.first().toLocalFile();
            if (file.isEmpty()) return {DroppedItem::UNREADABLE, {}};
            return {DroppedItem::PATH, LinkOrPath(file)};
        }
        if (!urls.isEmpty() && IsRemote(urls.first()))
            return {DroppedItem::PATH, FromQString(urls.first().toString(QUrl::FullyEncoded))};
    }
    if (data.hasFormat(kMozUrl)) {
        offered = true;
        QByteArray bytes = data.data(kMozUrl);
        // Firefox writes UTF-16; some senders use UTF-8.
        QString url = FirstLine(bytes.contains('\0') ? Utf16(bytes) : QString::fromUtf8(bytes));
        if (!url.isEmpty()) return {DroppedItem::PATH, FromQString(url)};
    }
    for (const QString& format : data.formats()) {
        if (!IsLinkFormat(format)) continue;
        offered = true;
        QByteArray bytes = data.data(format);
        // The narrow formats hold the local code page; a "W" variant holds UTF-16.
        bool wide = format.contains(QLatin1String("UniformResourceLocatorW"));
        QString url = FirstLine(wide ? Utf16(bytes) : QString::fromLocal8Bit(bytes));
        if (!url.isEmpty()) return {DroppedItem::PATH, FromQString(url)};
    }
    if (HasPlainText(data)) {
        offered = true;
        QString text = data.text();
        if (!text.isEmpty()) return {DroppedItem::TEXT, FromQString(text)};
    }
    return {offered ? DroppedItem::UNREADABLE : DroppedItem::NOTHING, {}};
}

}  // namespace Yomibon
