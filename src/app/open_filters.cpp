#include "app/open_filters.h"

namespace Yomibon {
namespace {

struct Kind {
    const char* label;
    const char* patterns;
};

// The extensions the open path tells apart: texts, HTML and XHTML pages, the archives the
// archiver modules unpack, and bookmark files (which name their text).
constexpr Kind kKinds[] = {
    {"テキストファイル", "*.txt"},
    {"HTML/XHTML ファイル", "*.html *.htm *.xhtml"},
    {"圧縮ファイル", "*.zip *.lzh *.7z"},
    {"栞ファイル", "*.siori"},
};

QString Filter(const QString& label, const QString& patterns) {
    return label + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

}  // namespace

QStringList OpenFileFilters() {
    QStringList all, filters;
    for (const Kind& kind : kKinds) {
        all.append(QString::fromUtf8(kind.patterns));
        filters.append(Filter(QString::fromUtf8(kind.label), QString::fromUtf8(kind.patterns)));
    }
    filters.prepend(
        Filter(QStringLiteral("読み込めるすべてのファイル"), all.join(QLatin1Char(' '))));
    filters.append(Filter(QStringLiteral("すべてのファイル"), QStringLiteral("*")));
    return filters;
}

}  // namespace Yomibon
