#include "app/config_style_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <filesystem>

#include "app/string_table.h"
#include "platform/font_match.h"
#include "platform/paths.h"
#include "settings/data_folder.h"
#include "settings/txt_param.h"

namespace Yomibon {
namespace {

constexpr std::array<std::u16string_view, CYbTxtStyleConfig::kFontCount> kFontKeys = {
    u"TextFont", u"RubyFont", u"NoteFont", u"NombreFont", u"RunningHeadsFont"};
constexpr std::array<const char*, CYbTxtStyleConfig::kFontCount> kFontLabels = {
    "本文", "ルビ", "注釈", "ノンブル", "柱"};
constexpr std::array<std::u16string_view, CYbTxtStyleConfig::kListCount> kListKeys = {
    u"ConfListStart", u"ConfListEnd", u"HangingChar", u"SepNGChar"};
constexpr std::array<const char*, CYbTxtStyleConfig::kListCount> kListLabels = {
    "行頭禁止文字", "行末禁止文字", "ぶら下げ文字", "分割禁止文字"};

QString Q(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

std::u16string U(const QString& s) {
    return s.toStdU16String();
}

int32_t PointAt(const CYbTxtParam& param, std::u16string_view key, size_t index, int32_t fallback) {
    const std::vector<int32_t>& values = param.GetPoints(key);
    return index < values.size() ? values[index] : fallback;
}

void SetPoint(CYbTxtParam& param, std::u16string_view key, int32_t value) {
    param.SetPoints(key, &value, 1);
}

}  // namespace

QStringList CYbTxtStyleConfig::FontNames() {
    // Only faces that cover Japanese can set the text; Latin-only faces would leave the
    // renderer to substitute every character.
    QStringList names;
    for (const std::u16string& family : JapaneseFontFamilies())
        if (!QFontDatabase::isPrivateFamily(Q(family))) names.append(Q(family));
    return names;
}

QStringList CYbTxtStyleConfig::VerticalFontNames() {
    QStringList names;
    for (const QString& family : FontNames())
        names.append(QLatin1Char('@') + family);
    return names;
}

bool CYbTxtStyleConfig::IsVerticalField(int i) {
    return i < kFirstHorizontalFont;
}

bool CYbTxtStyleConfig::IsInstalledFont(const QString& face) {
    QString family = face.startsWith(QLatin1Char('@')) ? face.mid(1) : face;
    family = family.trimmed();
    // hasFamily also knows a font's other names (such as its Japanese one).
    return !family.isEmpty() && QFontDatabase::hasFamily(family);
}

CYbTxtStyleConfig::CYbTxtStyleConfig(CYbTxtParam& param, QWidget* parent)
    : CYbPropPage(param, parent) {
    auto* top = new QVBoxLayout(this);
    top->addWidget(makeFontGroup());
    auto* lower = new QHBoxLayout;
    lower->addWidget(makeListGroup(), 1);
    lower->addWidget(makeOtherGroup(), 1);
    top->addLayout(lower);
    top->addStretch();
    read();
    connect(pageFlip_, &QCheckBox::toggled, flipInterval_, &QWidget::setEnabled);
    connect(whiteTrans_, &QCheckBox::toggled, transRate_, &QWidget::setEnabled);
    watchControls();
}

QWidget* CYbTxtStyleConfig::makeFontGroup() {
    auto* group = new QGroupBox(QStringLiteral("フォント"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(QStringLiteral("字間"), group), 0, 3);
    const QStringList names = FontNames(), vertical = VerticalFontNames();
    for (int i = 0; i < kFontCount; ++i) {
        const size_t n = size_t(i);
        grid->addWidget(new QLabel(QString::fromUtf8(kFontLabels[n]), group), i + 1, 0);
        fonts_[n] = new QComboBox(group);
        fonts_[n]->setEditable(true);
        fonts_[n]->setInsertPolicy(QComboBox::NoInsert);
        fonts_[n]->addItems(IsVerticalField(i) ? vertical : names);
        fonts_[n]->lineEdit()->setMaxLength(int(CYbTxtParam::kMaxFaceUnits));
        fonts_[n]->setMinimumWidth(200);
        grid->addWidget(fonts_[n], i + 1, 1);
        fontColors_[n] = new CYbColorButton(QStringLiteral("色"), group);
        grid->addWidget(fontColors_[n], i + 1, 2);
        spacings_[n] = new QLineEdit(group);
        spacings_[n]->setMaximumWidth(64);
        grid->addWidget(spacings_[n], i + 1, 3);
        centerings_[n] = new QCheckBox(QStringLiteral("中央揃"), group);
        grid->addWidget(centerings_[n], i + 1, 4);
    }
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* CYbTxtStyleConfig::makeListGroup() {
    auto* group = new QGroupBox(QStringLiteral("禁則"), this);
    auto* grid = new QGridLayout(group);
    for (int i = 0; i < kListCount; ++i) {
        const size_t n = size_t(i);
        grid->addWidget(new QLabel(QString::fromUtf8(kListLabels[n]), group), 2 * i, 0);
        lists_[n] = new QLineEdit(group);
        grid->addWidget(lists_[n], 2 * i + 1, 0);
    }
    int row = 2 * kListCount;
    grid->addWidget(new QLabel(QStringLiteral("レイアウト"), group), row++, 0);
    layout_ = new QComboBox(group);
    grid->addWidget(layout_, row++, 0);
    auto* tateNaka = new QHBoxLayout;
    tateNaka->addWidget(new QLabel(QStringLiteral("縦中横にする最大字数"), group));
    tateNaka_ = new CYbNumberField(0, 4, group);
    tateNaka->addWidget(tateNaka_);
    grid->addLayout(tateNaka, row++, 0);
    auto* mode = new QHBoxLayout;
    mode->addWidget(new QLabel(QStringLiteral("禁則処理"), group));
    kinsokuMode_ = new QComboBox(group);
    kinsokuMode_->addItem(QStringLiteral("標準"));
    kinsokuMode_->addItem(QStringLiteral("厳格"));
    mode->addWidget(kinsokuMode_, 1);
    grid->addLayout(mode, row++, 0);
    auto* note =
        new QLabel(QStringLiteral("厳格: 小書きの仮名・長音符・繰返し符号なども行頭に置かず、"
                                  "ぶら下げはぶら下げ文字を一字だけにして、"
                                  "追い出した行は行末まで均等に揃えます。"),
                   group);
    note->setWordWrap(true);
    grid->addWidget(note, row++, 0);
    grid->setRowStretch(row, 1);
    return group;
}

QWidget* CYbTxtStyleConfig::makeOtherGroup() {
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);

    auto* colors = new QGroupBox(QStringLiteral("色"), box);
    auto* colorRow = new QHBoxLayout(colors);
    pageColor_ = new CYbColorButton(QStringLiteral("ページ"), colors);
    outsideColor_ = new CYbColorButton(QStringLiteral("ページ外"), colors);
    linkColor_ = new CYbColorButton(QStringLiteral("リンク"), colors);
    colorRow->addWidget(pageColor_);
    colorRow->addWidget(outsideColor_);
    colorRow->addWidget(linkColor_);
    column->addWidget(colors);

    column->addWidget(new QLabel(QStringLiteral("背景画像"), box));
    auto* background = new QHBoxLayout;
    background_ = new QLineEdit(box);
    auto* browse = new QPushButton(QStringLiteral("..."), box);
    browse->setFixedWidth(32);
    connect(browse, &QPushButton::clicked, this, [this] { browseBackground(); });
    background->addWidget(background_);
    background->addWidget(browse);
    column->addLayout(background);

    wzMemo_ = new QCheckBox(QStringLiteral("階層付きテキスト形式(WzMemo)を使用"), box);
    column->addWidget(wzMemo_);

    auto* flip = new QHBoxLayout;
    pageFlip_ = new QCheckBox(QStringLiteral("ページめくりアニメーションを行う"), box);
    flipInterval_ = new CYbNumberField(0, 100, box);
    flip->addWidget(pageFlip_);
    flip->addWidget(flipInterval_);
    column->addLayout(flip);

    auto* antiAlias = new QGroupBox(QStringLiteral("アンチエイリアス"), box);
    auto* aaRow = new QHBoxLayout(antiAlias);
    aaNormal_ = new QRadioButton(QStringLiteral("通常"), antiAlias);
    aaLcd_ = new QRadioButton(QStringLiteral("LCD(液晶用)アンチエイリアス"), antiAlias);
    aaRow->addWidget(aaNormal_);
    aaRow->addWidget(aaLcd_);
    column->addWidget(antiAlias);

    auto* trans = new QHBoxLayout;
    whiteTrans_ = new QCheckBox(QStringLiteral("画像の白色部分を透過する"), box);
    trans->addWidget(whiteTrans_);
    trans->addWidget(new QLabel(QStringLiteral("透過度"), box));
    transRate_ = new CYbNumberField(0, 100, box);
    trans->addWidget(transRate_);
    column->addLayout(trans);
    column->addStretch();
    return box;
}

void CYbTxtStyleConfig::read() {
    for (size_t n = 0; n < kFontCount; ++n) {
        FontParam font = param_.GetFont(kFontKeys[n]);
        // The listed face is selected (and so highlighted when the list opens).
        const int listed = fonts_[n]->findText(Q(font.face));
        if (listed >= 0) fonts_[n]->setCurrentIndex(listed);
        fonts_[n]->setEditText(Q(font.face));
        fontColors_[n]->setColor(font.color);
        spacings_[n]->setText(QString::number(font.spacing, 'g'));
        centerings_[n]->setChecked(font.centering);
    }
    for (size_t n = 0; n < kListCount; ++n)
        lists_[n]->setText(Q(param_.GetListText(kListKeys[n])));
    entries_ = EnumerateLayouts();
    for (const LayoutEntry& entry : entries_) {
        // A layout file may leave its name empty; its file name tells it apart then.
        const QString file = QFileInfo(Q(entry.file)).completeBaseName();
        layout_->addItem(entry.name.empty() ? file : Q(entry.name));
    }
    layout_->setCurrentIndex(FindLayoutEntry(entries_, param_));
    tateNaka_->setValue(PointAt(param_, u"TateNakaNum", 0, 3));
    kinsokuMode_->setCurrentIndex(PointAt(param_, u"KinsokuMode", 0, 0) == 1 ? 1 : 0);
    pageColor_->setColor(uint32_t(PointAt(param_, u"PageColor", 0, 0xFFFFFF)));
    outsideColor_->setColor(uint32_t(PointAt(param_, u"PageColor", 1, 0xE0E0E0)));
    linkColor_->setColor(uint32_t(PointAt(param_, u"LinkTextColor", 0, 0xFF0000)));
    background_->setText(Q(param_.GetText(u"BackgroundImage")));
    wzMemo_->setChecked(param_.GetBoolean(u"WzMemoMode"));
    pageFlip_->setChecked(param_.GetBoolean(u"PageFlip"));
    flipInterval_->setValue(PointAt(param_, u"PageFlipInterval", 0, 30));
    flipInterval_->setEnabled(pageFlip_->isChecked());
    (PointAt(param_, u"AntiAlias", 0, 1) == 2 ? aaLcd_ : aaNormal_)->setChecked(true);
    whiteTrans_->setChecked(param_.GetBoolean(u"WhiteTrans"));
    transRate_->setValue(PointAt(param_, u"WhiteTransRate", 0, 20));
    transRate_->setEnabled(whiteTrans_->isChecked());
}

void CYbTxtStyleConfig::browseBackground() {
    std::filesystem::path current = ToFsPath(U(background_->text()));
    if (!current.empty() && current.is_relative()) current = DataFolder() / current;
    const QString start =
        current.empty() ? QString() : QString::fromStdString(current.parent_path().string());
    // Qt separates the patterns of a filter by blanks.
    const QString filter = Q(LoadString(IDS_IMAGE_FILES)) + QStringLiteral("(*.jpg *.png)");
    const QString file = QFileDialog::getOpenFileName(this, QString(), start, filter);
    if (file.isEmpty()) return;
    background_->setText(file);
    markChanged();
}

bool CYbTxtStyleConfig::checkRange(CYbNumberField* field, int minimum, int maximum, int message) {
    if (!field->isEnabled()) return true;
    bool ok = false;
    const int value = field->value(&ok);
    if (ok && value >= minimum && (maximum <= 0 || value <= maximum)) return true;
    showError(message);
    field->edit()->setFocus();
    field->edit()->selectAll();
    return false;
}

bool CYbTxtStyleConfig::validate() {
    // An unknown font is reported but does not stop the apply: the renderer then takes the
    // nearest installed face.
    for (QComboBox* box : fonts_) {
        if (IsInstalledFont(box->currentText())) continue;
        showError(IDS_FONT_NOT_FOUND);
        box->setFocus();
    }
    // The messages keep their wording; the ranges are the ones the fields accept.
    return checkRange(tateNaka_, 0, 4, IDS_TATENAKA_RANGE) &&
           checkRange(flipInterval_, 0, 100, IDS_FLIP_RANGE) &&
           checkRange(transRate_, 0, 100, IDS_RATE_RANGE);
}

void CYbTxtStyleConfig::write() {
    for (size_t n = 0; n < kFontCount; ++n) {
        FontParam font;
        font.face = U(fonts_[n]->currentText().left(int(CYbTxtParam::kMaxFaceUnits)));
        font.color = fontColors_[n]->color();
        font.spacing = spacings_[n]->text().trimmed().toDouble();
        font.centering = centerings_[n]->isChecked();
        param_.SetFont(kFontKeys[n], font);
    }
    for (size_t n = 0; n < kListCount; ++n)
        param_.SetList(kListKeys[n], U(lists_[n]->text()));
    const int chosen = layout_->currentIndex();
    if (chosen >= 0 && size_t(chosen) < entries_.size()) {
        const LayoutEntry& entry = entries_[size_t(chosen)];
        std::error_code ec;
        // A built-in layout gets its file written, so that the setting names a file that opens.
        if (!std::filesystem::exists(DataFolder() / ToFsPath(entry.file), ec)) {
            ConfirmLayoutChoice(param_, entry);
        } else {
            param_.SetText(u"LayoutFile", entry.file);
            param_.SetText(u"LayoutType", entry.type);
        }
    }
    SetPoint(param_, u"TateNakaNum", tateNaka_->value());
    SetPoint(param_, u"KinsokuMode", kinsokuMode_->currentIndex() == 1 ? 1 : 0);
    std::vector<int32_t> pageColors = param_.GetPoints(u"PageColor");
    if (pageColors.size() < 2) pageColors.resize(2);
    pageColors[0] = int32_t(pageColor_->color());
    pageColors[1] = int32_t(outsideColor_->color());
    param_.SetPoints(u"PageColor", pageColors.data(), int(pageColors.size()));
    SetPoint(param_, u"LinkTextColor", int32_t(linkColor_->color()));
    param_.SetText(u"BackgroundImage", U(background_->text()));
    param_.SetBoolean(u"WzMemoMode", wzMemo_->isChecked());
    param_.SetBoolean(u"PageFlip", pageFlip_->isChecked());
    SetPoint(param_, u"PageFlipInterval", flipInterval_->value());
    SetPoint(param_, u"AntiAlias", aaLcd_->isChecked() ? 2 : 1);
    param_.SetBoolean(u"WhiteTrans", whiteTrans_->isChecked());
    SetPoint(param_, u"WhiteTransRate", transRate_->value());
    if (onApplied_) onApplied_();
}

}  // namespace Yomibon
