// The catalogue's search results as the list shows them: title (with subtitle), persons,
// kana style and year, ordered by the column clicked.
#pragma once

#include <QAbstractTableModel>

namespace Yomibon {

class CYbCatalogueIndex;
struct CatalogueWork;

class CYbCatalogueModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { TITLE, AUTHOR, KANA_STYLE, YEAR, COLUMN_COUNT };

    explicit CYbCatalogueModel(CYbCatalogueIndex& index, QObject* parent = nullptr);

    // Filters by the query; the list is rebuilt.
    void setQuery(const QString& query);
    // The index was given new works.
    void reload();
    const CatalogueWork* work(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    CYbCatalogueIndex& index_;
    QString query_;
};

}  // namespace Yomibon
