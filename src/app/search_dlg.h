// The search dialog: a search word with its history, the wrap check box, up and down search.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "text/txt_search.h"

class QComboBox;
class QCheckBox;

namespace Yomibon {

class CYbTxtParam;

class CYbTxtSearchDlg : public QDialog {
  public:
    static constexpr int kResourceId = 115;
    // Called with the hit before the dialog closes; the window moves to its page.
    using HitFunc = std::function<void(const TextPoint& hit, const TextPoint& end)>;
    // Shows a message box (kept replaceable so tests need no modal loop).
    using MessageFunc = std::function<void(const QString& text)>;

    CYbTxtSearchDlg(CYbTxtParam& param, CYbTxtSearch& search, const CYbTxtBuffer& buffer,
                    const TextPoint& start, QWidget* parent = nullptr);

    void setHitFunc(HitFunc func) { onHit_ = std::move(func); }
    void setMessageFunc(MessageFunc func) { onMessage_ = std::move(func); }

    // Runs one search from the dialog's state, as the two search buttons do.
    bool search(bool forward);

    QComboBox* wordBox() const { return word_; }
    QCheckBox* wrapBox() const { return wrap_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void loadHistory();
    void storeHistory(const std::u16string& word);

    CYbTxtParam& param_;
    CYbTxtSearch& search_;
    const CYbTxtBuffer& buffer_;
    TextPoint start_;
    std::vector<std::u16string> history_;  // oldest first
    QComboBox* word_ = nullptr;
    QCheckBox* wrap_ = nullptr;
    HitFunc onHit_;
    MessageFunc onMessage_;
};

}  // namespace Yomibon
