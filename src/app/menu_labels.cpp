#include "app/menu_labels.h"

#include <QRegularExpression>
#include <QSet>
#include <vector>

#include "app/qt_string.h"

namespace Yomibon {
namespace {

// The character after a single "&" (an "&&" is a literal ampersand), or a null QChar.
QChar MnemonicOf(const QString& label) {
    for (qsizetype i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != QLatin1Char('&')) continue;
        if (label[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return label[i + 1].toUpper();
    }
    return {};
}

bool Assignable(QChar c) {
    return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9'));
}

}  // namespace

QString MenuKeyText(const KeyBind& key) {
    if (key.code == VK_LBUTTON || key.code == VK_RBUTTON || key.code == VK_MBUTTON) return {};
    QString text = ToQString(KeyDisplayName(key));
    text.replace(QStringLiteral(" + "), QStringLiteral("+"));
    return text;
}

QString WithoutMnemonic(const QString& label) {
    static const QRegularExpression trailing(QStringLiteral("\\(&[^&]\\)$"));
    QString text = label;
    text.remove(trailing);
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            if (text[i + 1] == QLatin1Char('&')) out += text[++i];
            continue;
        }
        out += text[i];
    }
    return out;
}

QStringList AssignMnemonics(const QStringList& labels) {
    // First the labels' own letters (the first item keeps a contested one), so that an item
    // given a letter never takes one that a later item brings; then the rest.
    QSet<QChar> used;
    QStringList out = labels;
    std::vector<bool> keeps(size_t(labels.size()), false);
    for (qsizetype i = 0; i < labels.size(); ++i) {
        const QChar own = MnemonicOf(labels[i]);
        if (own.isNull() || used.contains(own)) continue;
        used.insert(own);
        keeps[size_t(i)] = true;
    }
    for (qsizetype i = 0; i < labels.size(); ++i) {
        if (keeps[size_t(i)]) continue;
        const QString plain = WithoutMnemonic(labels[i]);
        const QString candidates =
            plain.toUpper() + QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
        QChar chosen;
        for (QChar c : candidates)
            if (Assignable(c) && !used.contains(c)) {
                chosen = c;
                break;
            }
        if (chosen.isNull()) {
            out[i] = plain;
            continue;
        }
        used.insert(chosen);
        out[i] = plain + QStringLiteral("(&") + chosen + QLatin1Char(')');
    }
    return out;
}

}  // namespace Yomibon
