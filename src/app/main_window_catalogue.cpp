// ファイル → 青空文庫から開く: the catalogue dialog fetches the chosen work into the download
// cache; the window opens the file through the archive path like any other, so it is recorded
// in the recent files, and a failure leaves the book shown as it was.
#include "app/catalogue_dlg.h"
#include "app/main_window.h"
#include "library/catalogue_index.h"
#include "platform/paths.h"
#include "settings/data_folder.h"

namespace Yomibon {

void CYbMainWindow::cmdCatalogueOpen() {
    if (!catalogue_) catalogue_ = std::make_shared<CYbCatalogueIndex>();
    CYbCatalogueDlg dlg(this, param_, *catalogue_, DataFolder());
    if (dlg.exec() == QDialog::Accepted) openWithHistory(FromFsPath(dlg.chosenFile()));
}

}  // namespace Yomibon
