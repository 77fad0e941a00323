// URL: asks for a URL or path to open (input mode), and shows a transfer under way
// (progress mode): the address with a turning icon at its right end; the icon and 中止
// cancel the transfer.
#pragma once

#include <QDialog>
#include <QIcon>
#include <string>
#include <vector>

#include "platform/net.h"

class QAction;
class QLineEdit;
class QPushButton;
class QTimer;

namespace Yomibon {

class CYbOpenURLDlg : public QDialog, public CYbNetObserver {
    Q_OBJECT

  public:
    CYbOpenURLDlg(QWidget* parent, const std::u16string& text);
    // The whole field text.
    std::u16string url() const;
    QLineEdit* edit() const { return edit_; }
    QPushButton* openButton() const { return open_; }
    QPushButton* stopButton() const { return stop_; }

    // Progress mode for a transfer of `url`: 開く hidden, the field read-only, the icon
    // turning every 100 ms. The dialog is shown, not run: the caller loads meanwhile.
    void startProgress(const std::u16string& url);
    bool inProgress() const { return progress_; }
    QAction* iconAction() const { return icon_; }
    int frame() const { return frame_; }
    // Asked by the transfer about every 100 ms: lets the window breathe; false once the
    // reader cancelled.
    bool onNetProgress(const NetProgress& progress) override;
    bool cancelled() const { return cancelled_; }

  protected:
    void reject() override;

  private:
    void cancel();
    void nextFrame();

    QLineEdit* edit_ = nullptr;
    QPushButton* open_ = nullptr;
    QPushButton* stop_ = nullptr;
    QAction* icon_ = nullptr;
    QTimer* timer_ = nullptr;
    std::vector<QIcon> frames_;
    int frame_ = 0;
    bool progress_ = false;
    bool cancelled_ = false;
};

}  // namespace Yomibon
