#include "app/catalogue_model.h"

#include "library/catalogue_index.h"

namespace Yomibon {
namespace {

QString Q(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

}  // namespace

CYbCatalogueModel::CYbCatalogueModel(CYbCatalogueIndex& index, QObject* parent)
    : QAbstractTableModel(parent), index_(index) {}

void CYbCatalogueModel::setQuery(const QString& query) {
    beginResetModel();
    query_ = query;
    index_.search(query.toStdU16String());
    endResetModel();
}

void CYbCatalogueModel::reload() {
    beginResetModel();
    index_.search(query_.toStdU16String());
    endResetModel();
}

const CatalogueWork* CYbCatalogueModel::work(int row) const {
    if (row < 0 || size_t(row) >= index_.results().size()) return nullptr;
    return &index_.works()[index_.results()[size_t(row)]];
}

int CYbCatalogueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(index_.results().size());
}

int CYbCatalogueModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : COLUMN_COUNT;
}

QVariant CYbCatalogueModel::data(const QModelIndex& index, int role) const {
    const CatalogueWork* w = work(index.row());
    if (!w) return {};
    if (role == Qt::ToolTipRole) {
        QString tip = Q(w->titleReading);
        if (!w->firstPrinted.empty()) tip += QStringLiteral("\n初出：") + Q(w->firstPrinted);
        return tip;
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case TITLE:
            return w->subtitle.empty() ? Q(w->title) : Q(w->title + u"　" + w->subtitle);
        case AUTHOR:
            return Q(w->authors());
        case KANA_STYLE:
            return Q(w->kanaStyle);
        case YEAR:
            return w->year ? QVariant(w->year) : QVariant(QString());
        default:
            return {};
    }
}

QVariant CYbCatalogueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeads[] = {"作品名", "著者", "文字遣い", "初出年"};
    return section >= 0 && section < COLUMN_COUNT ? QString::fromUtf8(kHeads[section]) : QVariant();
}

void CYbCatalogueModel::sort(int column, Qt::SortOrder order) {
    static const CYbCatalogueIndex::SortKey kKeys[] = {
        CYbCatalogueIndex::BY_TITLE, CYbCatalogueIndex::BY_AUTHOR, CYbCatalogueIndex::BY_KANA_STYLE,
        CYbCatalogueIndex::BY_YEAR};
    if (column < 0 || column >= COLUMN_COUNT) return;
    beginResetModel();
    index_.sortBy(kKeys[column], order == Qt::AscendingOrder);
    endResetModel();
}

}  // namespace Yomibon
