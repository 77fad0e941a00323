#include "app/config_option_page.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/siori_association.h"
#include "app/string_table.h"
#include "platform/paths.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"

namespace Yomibon {
namespace {

QString Q(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

}  // namespace

CYbTxtOptionConfig::CYbTxtOptionConfig(CYbTxtParam& param, QWidget* parent)
    : CYbPropPage(param, parent), associationBase_(XdgDataHome()) {
    auto* top = new QVBoxLayout(this);
    saveWindowSize_ = new QCheckBox(QStringLiteral("ウインドウサイズの保存"), this);
    top->addWidget(saveWindowSize_);

    auto* bookmarks = new QGroupBox(QStringLiteral("栞"), this);
    auto* grid = new QGridLayout(bookmarks);
    autoSave_ = new QCheckBox(QStringLiteral("栞の自動保存"), bookmarks);
    grid->addWidget(autoSave_, 0, 0, 1, 3);
    toFolder_ = new QRadioButton(QStringLiteral("栞ファイルは栞フォルダに保存"), bookmarks);
    besideText_ =
        new QRadioButton(QStringLiteral("テキストファイルと同じフォルダに作成"), bookmarks);
    grid->addWidget(toFolder_, 1, 0, 1, 3);
    grid->addWidget(besideText_, 2, 0, 1, 3);
    auto* count = new QHBoxLayout;
    count->addWidget(new QLabel(QStringLiteral("最大"), bookmarks));
    bookmarkNum_ = new CYbNumberField(0, 999, bookmarks);
    count->addWidget(bookmarkNum_);
    count->addWidget(new QLabel(QStringLiteral("個まで保存"), bookmarks));
    count->addStretch();
    grid->addLayout(count, 3, 0, 1, 3);
    auto addFolder = [this](QGridLayout* layout, int row, const QString& label, QLineEdit*& edit) {
        QWidget* group = layout->parentWidget();
        layout->addWidget(new QLabel(label, group), row, 0);
        edit = new QLineEdit(group);
        layout->addWidget(edit, row, 1);
        auto* browse = new QPushButton(QStringLiteral("..."), group);
        browse->setFixedWidth(32);
        QLineEdit* target = edit;
        connect(browse, &QPushButton::clicked, this, [this, target] { browseFolder(target); });
        layout->addWidget(browse, row, 2);
        layout->setColumnStretch(1, 1);
    };
    addFolder(grid, 4, QStringLiteral("栞フォルダ"), bookmarkFolder_);
    top->addWidget(bookmarks);

    auto* plugins = new QGroupBox(QStringLiteral("プラグイン"), this);
    addFolder(new QGridLayout(plugins), 0, QStringLiteral("SUSIEプラグインフォルダ"),
              pluginFolder_);
    top->addWidget(plugins);

    auto* association = new QHBoxLayout;
    associate_ = new QPushButton(QStringLiteral("栞ファイルに関連付け"), this);
    dissociate_ = new QPushButton(QStringLiteral("関連付け解除"), this);
    connect(associate_, &QPushButton::clicked, this, [this] { associate(); });
    connect(dissociate_, &QPushButton::clicked, this, [this] { dissociate(); });
    association->addWidget(associate_);
    association->addWidget(dissociate_);
    association->addStretch();
    top->addLayout(association);
    top->addStretch();
    read();
    watchControls();
}

void CYbTxtOptionConfig::read() {
    saveWindowSize_->setChecked(param_.GetBoolean(u"SaveWindowSize"));
    autoSave_->setChecked(param_.GetBoolean(u"BookMarkAutoSave"));
    (param_.GetBoolean(u"BookMarkToFolder") ? toFolder_ : besideText_)->setChecked(true);
    int32_t count = 0;
    param_.GetPoints(u"BookMarkNum", 1, &count);
    bookmarkNum_->setValue(count);
    bookmarkFolder_->setText(Q(param_.GetText(u"BookMarkFolder")));
    pluginFolder_->setText(Q(param_.GetText(u"SpiPluginFolder")));
}

void CYbTxtOptionConfig::browseFolder(QLineEdit* edit) {
    std::filesystem::path start = ToFsPath(edit->text().toStdU16String());
    if (start.is_relative()) start = DataFolder() / start;
    const QString folder = QFileDialog::getExistingDirectory(
        this, Q(LoadString(IDS_BOOKMARK_FOLDER)), QString::fromStdString(start.string()));
    if (folder.isEmpty()) return;
    edit->setText(folder);
    markChanged();
}

void CYbTxtOptionConfig::write() {
    param_.SetBoolean(u"SaveWindowSize", saveWindowSize_->isChecked());
    param_.SetBoolean(u"BookMarkAutoSave", autoSave_->isChecked());
    param_.SetBoolean(u"BookMarkToFolder", toFolder_->isChecked());
    const int32_t count = bookmarkNum_->value();
    param_.SetPoints(u"BookMarkNum", &count, 1);
    param_.SetText(u"BookMarkFolder", bookmarkFolder_->text().toStdU16String());
    param_.SetText(u"SpiPluginFolder", pluginFolder_->text().toStdU16String());
}

bool CYbTxtOptionConfig::associate() {
    const std::filesystem::path program = QCoreApplication::applicationFilePath().toStdString();
    const bool done = AssociateSiori(associationBase_, program);
    showError(done ? IDS_ASSOCIATED : IDS_ASSOCIATE_FAILED);
    return done;
}

bool CYbTxtOptionConfig::dissociate() {
    const bool done = DissociateSiori(associationBase_);
    showError(done ? IDS_DISSOCIATED : IDS_DISSOCIATE_FAILED);
    return done;
}

}  // namespace Yomibon
