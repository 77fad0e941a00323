#include "app/search_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "settings/txt_param.h"
#include "text/txt_search_history.h"

namespace Yomibon {

namespace {

QString ToQ(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar*>(s.data()), qsizetype(s.size()));
}

std::u16string FromQ(const QString& s) {
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), size_t(s.size()));
}

}  // namespace

CYbTxtSearchDlg::CYbTxtSearchDlg(CYbTxtParam& param, CYbTxtSearch& search,
                                 const CYbTxtBuffer& buffer, const TextPoint& start,
                                 QWidget* parent)
    : QDialog(parent), param_(param), search_(search), buffer_(buffer), start_(start) {
    setWindowTitle(QStringLiteral("検索"));
    word_ = new QComboBox(this);
    word_->setEditable(true);
    word_->lineEdit()->setMaxLength(int(kSearchWordMax));
    word_->setMinimumWidth(280);
    wrap_ = new QCheckBox(QStringLiteral("見つからなければ戻って検索(&V)"), this);
    auto* down = new QPushButton(QStringLiteral("下検索(&N)"), this);
    auto* up = new QPushButton(QStringLiteral("上検索(&P)"), this);
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    down->setDefault(true);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {down, up, cancel})
        buttons->addWidget(b);
    buttons->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(word_);
    left->addWidget(wrap_);
    left->addStretch();
    auto* top = new QHBoxLayout(this);
    top->addLayout(left);
    top->addLayout(buttons);
    connect(down, &QPushButton::clicked, this, [this] { this->search(true); });
    connect(up, &QPushButton::clicked, this, [this] { this->search(false); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    onMessage_ = [this](const QString& text) {
        QMessageBox::information(this, ToQ(u"Yomibon"), text);
    };
    loadHistory();
    wrap_->setChecked(param_.GetBoolean(u"SearchLoop"));
    // The last word is offered selected: typing replaces it, Enter searches it again.
    word_->setFocus();
    word_->lineEdit()->selectAll();
}

void CYbTxtSearchDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    word_->setFocus();
    word_->lineEdit()->selectAll();
}

void CYbTxtSearchDlg::loadHistory() {
    history_.clear();
    for (size_t n = kSearchHistoryCount; n >= 1; --n) {
        const std::u16string& word = param_.GetText(SearchHistoryKey(n));
        if (!word.empty()) history_.push_back(word);
    }
    word_->clear();
    for (auto it = history_.rbegin(); it != history_.rend(); ++it)
        word_->addItem(ToQ(*it));
    if (word_->count() > 0) word_->setCurrentIndex(0);
}

void CYbTxtSearchDlg::storeHistory(const std::u16string& word) {
    history_ = AddSearchWord(std::move(history_), word);
    std::vector<std::u16string> newest = NewestSearchWords(history_);
    for (size_t n = 1; n <= kSearchHistoryCount; ++n)
        param_.SetText(SearchHistoryKey(n), n <= newest.size() ? newest[n - 1] : u"");
    param_.SetBoolean(u"SearchLoop", wrap_->isChecked());
    loadHistory();
}

bool CYbTxtSearchDlg::search(bool forward) {
    std::u16string word = CutSearchWord(FromQ(word_->currentText()));
    if (!word.empty()) storeHistory(word);
    word_->setEditText(ToQ(word));
    search_.setBuffer(&buffer_);
    search_.StartSearch(start_, forward, word, wrap_->isChecked());
    TextPoint hit;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    bool found = search_.Find(hit, forward);
    QGuiApplication::restoreOverrideCursor();
    if (!found) {
        if (onMessage_) onMessage_(QStringLiteral("文字列が見つかりません。"));
        return false;
    }
    if (onHit_) onHit_(hit, SearchHitEnd(buffer_, hit, search_.length()));
    accept();
    return true;
}

}  // namespace Yomibon
