// The kinds the file dialog offers: everything the reader opens, then each kind alone.
#pragma once

#include <QStringList>

namespace Yomibon {

// "読み込めるすべてのファイル (*.txt *.zip ...)" first, then one filter per kind and
// "すべてのファイル (*)" last, in the form QFileDialog takes.
QStringList OpenFileFilters();

}  // namespace Yomibon
