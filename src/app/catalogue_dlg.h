// 青空文庫から開く: the library's catalogue searched as one types, ordered by any column, and
// the chosen work fetched into the download cache (with progress and 中止) for the window to
// open. The catalogue is fetched on first use and on 更新; transfers run inside the dialog,
// whose messages stay in it, so a failure leaves the reader's book as it was.
#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

#include "platform/net.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeView;

namespace Yomibon {

class CYbCatalogueIndex;
class CYbCatalogueModel;
class CYbTxtParam;
struct CatalogueWork;

class CYbCatalogueDlg : public QDialog, public CYbNetObserver {
    Q_OBJECT

  public:
    // `index` is kept by the window, so that the catalogue is read once per session.
    CYbCatalogueDlg(QWidget* parent, const CYbTxtParam& param, CYbCatalogueIndex& index,
                    std::filesystem::path dataFolder);
    ~CYbCatalogueDlg() override;

    // Reads the kept catalogue, fetching it when there is none; false (with the reason shown)
    // when neither worked.
    bool loadCatalogue();
    // 更新: a fresh copy from the network; the current one stays on failure.
    bool updateCatalogue();
    // 開く: fetches the chosen work (or the first one listed); accepts the dialog with the
    // file to open, or shows why not.
    bool openSelected();

    // The cached zip of the opened work, once the dialog was accepted.
    const std::filesystem::path& chosenFile() const { return chosenFile_; }
    QLineEdit* searchField() const { return search_; }
    QTreeView* list() const { return view_; }
    CYbCatalogueModel* model() const { return model_; }
    QLabel* status() const { return status_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* updateButton() const { return update_; }
    QPushButton* stopButton() const { return stop_; }
    bool busy() const { return busy_; }
    // 中止 of a running transfer.
    void cancel() { cancelled_ = true; }

    bool onNetProgress(const NetProgress& progress) override;
    // 閉じる and Escape: during a transfer they stop it, and the dialog stays.
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void filter(const QString& text);
    void setBusy(bool busy, const QString& what = {});
    void showCount();
    void showProblem(const std::u16string& text);
    bool take(bool ok, std::vector<CatalogueWork>& works, bool fetched,
              const std::u16string& message);

    const CYbTxtParam& param_;
    CYbCatalogueIndex& index_;
    std::filesystem::path dataFolder_;
    std::filesystem::path chosenFile_;
    CYbCatalogueModel* model_ = nullptr;
    QLineEdit* search_ = nullptr;
    QTreeView* view_ = nullptr;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* update_ = nullptr;
    QPushButton* stop_ = nullptr;
    bool busy_ = false;
    bool cancelled_ = false;
    bool started_ = false;
};

}  // namespace Yomibon
