#include "app/layout_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "app/main_window.h"
#include "layout/bunko_txt_layout.h"
#include "layout/shinsho_txt_layout.h"
#include "settings/data_folder.h"

namespace Yomibon {
namespace {

// The preview's layout: the dialog's rules build its boxes, but it is never written.
class CYbPreviewLayout final : public CYbTxtLayout {
  public:
    CYbPreviewLayout() { SetDefault(); }
    void SetDefault() override { SetBunkoDefault(); }
    bool Save(const char16_t*) override { return true; }
    std::u16string GetTypeName() const override { return u"Preview"; }
    int ShowSettingsDialog(void*, CYbLayoutDialogHost*) override { return 0; }
};

constexpr double kMaxMillimetres = 99999.99;
constexpr int kMaxCount = 9999;
// Enough to show the columns; absurd counts would only fill the drawing with lines.
constexpr int kMaxDrawnColumns = 200;
const char kMarkedSheet[] = "background-color: #ffb0b0;";

int32_t& Member(PageParams& p, PageField f) {
    switch (f) {
        case PageField::PaperWidth:
            return p.paperWidth;
        case PageField::PaperHeight:
            return p.paperHeight;
        case PageField::Lines:
            return p.lines;
        case PageField::Chars:
            return p.chars;
        case PageField::TextSize:
            return p.text.size;
        case PageField::TextSpacing:
            return p.text.spacing;
        case PageField::RubySize:
            return p.ruby.size;
        case PageField::RubySpacing:
            return p.ruby.spacing;
        case PageField::NoteSize:
            return p.note.size;
        case PageField::NoteSpacing:
            return p.note.spacing;
        case PageField::Top:
            return p.top;
        case PageField::Bottom:
            return p.bottom;
        case PageField::ForeEdge:
            return p.foreEdge;
        case PageField::Gutter:
            return p.gutter;
        case PageField::TierGap:
            return p.tierGap;
        case PageField::NombreSize:
            return p.nombreSize;
        case PageField::NombreRightX:
            return p.nombreRightX;
        case PageField::NombreRightY:
            return p.nombreRightY;
        case PageField::NombreLeftX:
            return p.nombreLeftX;
        case PageField::NombreLeftY:
            return p.nombreLeftY;
        case PageField::NombrePlacement:
            return p.nombrePlacement;
        case PageField::RunningHeadsSize:
            return p.runningHeadsSize;
        case PageField::RunningHeadsX:
            return p.runningHeadsX;
        case PageField::RunningHeadsY:
            return p.runningHeadsY;
    }
    return p.paperWidth;
}

void ShowMessageBox(QWidget* parent, const std::u16string& text, const std::u16string& caption) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

bool AskYesNo(QWidget* parent, const std::u16string& text, const std::u16string& caption) {
    QMessageBox box(QMessageBox::Question, ToQString(caption), ToQString(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// Vertical sample text, one character under the other, from (x, y) downwards.
void DrawColumn(QPainter& painter, const QString& text, double x, double y, double cell,
                double bottom) {
    for (int i = 0; i < text.size() && y + cell <= bottom + 0.5; ++i, y += cell)
        painter.drawText(QRectF(x, y, cell, cell), Qt::AlignCenter, text.mid(i, 1));
}

// Where the paper sits in the preview and how large one layout unit is drawn.
struct PreviewFrame {
    double ox = 0, oy = 0, scale = 0, paperW = 0, paperH = 0;
    QRectF map(const LayoutBox& b) const {
        return QRectF(ox + b.left * scale, oy + b.top * scale, (b.right - b.left) * scale,
                      (b.bottom - b.top) * scale);
    }
    QRectF paper() const { return QRectF(ox, oy, paperW * scale, paperH * scale); }
};

// The paper centred in a widget of the given size with a small margin; none when it is empty.
std::optional<PreviewFrame> FitPaper(const CYbTxtLayout& layout, int width, int height) {
    auto [paperW, paperH] = layout.GetPaperSize();
    if (paperW <= 0 || paperH <= 0) return std::nullopt;
    const double margin = 8;
    const double scale = std::min((width - 2 * margin) / paperW, (height - 2 * margin) / paperH);
    if (scale <= 0) return std::nullopt;
    return PreviewFrame{(width - paperW * scale) / 2, (height - paperH * scale) / 2, scale,
                        double(paperW), double(paperH)};
}

void DrawPaper(QPainter& painter, const PreviewFrame& f) {
    const QRectF paper = f.paper();
    painter.fillRect(paper, Qt::white);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.drawRect(paper);
    // The fold between the two pages.
    painter.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1, Qt::DashLine));
    painter.drawLine(QPointF(paper.center().x(), paper.top()),
                     QPointF(paper.center().x(), paper.bottom()));
}

void DrawNoteBoxes(QPainter& painter, const CYbTxtLayout& layout, const PreviewFrame& f) {
    painter.setPen(QPen(QColor(0xC0, 0xA0, 0x60), 1, Qt::DotLine));
    for (const LayoutBox& b : layout.GetBoxes(NoteLayout))
        painter.drawRect(f.map(b));
}

// Sample characters in the first columns of a text box, each column right of the ruby slot.
void DrawSampleColumns(QPainter& painter, const CYbTxtLayout& layout, const PreviewFrame& f,
                       const QRectF& r, int columns, double pitch) {
    static const QString kSample[] = {QStringLiteral("ある日の暮方の事である。一人の下人が、"),
                                      QStringLiteral("羅生門の下で雨やみを待っていた。"),
                                      QStringLiteral("広い門の下には、この男のほかに誰もいない。")};
    const SizePair text = layout.GetSize(TextSize);
    const SizePair ruby = layout.GetSize(RubySize);
    const double cell = std::max(text.size * f.scale, 1.0);
    QFont font = painter.font();
    font.setPixelSize(std::max(1, int(std::lround(cell))));
    painter.setFont(font);
    painter.setPen(Qt::black);
    for (int i = 0; i < std::min(columns, 3); ++i) {
        const double x = r.right() - (i * pitch + ruby.size + ruby.spacing + text.size) * f.scale;
        if (x < r.left()) break;
        DrawColumn(painter, kSample[i], x, r.top(), cell, r.bottom());
    }
}

// Text boxes with their column lines at the column pitch, from the right edge (text runs
// right to left); the first box also shows sample text.
void DrawTextBoxes(QPainter& painter, const CYbTxtLayout& layout, const PreviewFrame& f) {
    const SizePair text = layout.GetSize(TextSize);
    const SizePair ruby = layout.GetSize(RubySize);
    const double pitch =
        std::max<int64_t>(int64_t(text.size) + text.spacing + ruby.size + ruby.spacing, 1);
    bool first = true;
    for (const LayoutBox& b : layout.GetBoxes(TextLayout)) {
        const QRectF r = f.map(b);
        painter.fillRect(r, QColor(0xE4, 0xEE, 0xFF));
        painter.setPen(QPen(QColor(0x30, 0x60, 0xC0), 1));
        painter.drawRect(r);
        painter.setPen(QPen(QColor(0xA8, 0xC0, 0xEE), 1));
        const int columns = std::clamp(b.lines, 0, kMaxDrawnColumns);
        for (int i = 1; i < columns; ++i) {
            const double x = r.right() - i * pitch * f.scale;
            if (x <= r.left()) break;
            painter.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        }
        if (!first || columns <= 0) continue;
        first = false;
        DrawSampleColumns(painter, layout, f, r, columns, pitch);
    }
}

void SetPixelFont(QPainter& painter, int layoutSize, double scale) {
    QFont font = painter.font();
    font.setPixelSize(std::max(1, int(std::lround(layoutSize * scale))));
    painter.setFont(font);
}

void DrawNombres(QPainter& painter, const CYbTxtLayout& layout, const PreviewFrame& f) {
    painter.setPen(QPen(QColor(0xC0, 0x40, 0x40), 1));
    SetPixelFont(painter, layout.GetSize(NombreSize).size, f.scale);
    int number = 12;
    for (const LayoutBox& b : layout.GetBoxes(NombreLayout)) {
        const QRectF r = f.map(b);
        painter.drawRect(r);
        painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, QString::number(number++));
    }
}

void DrawRunningHeads(QPainter& painter, const CYbTxtLayout& layout, const PreviewFrame& f) {
    painter.setPen(QPen(QColor(0x30, 0x90, 0x30), 1));
    SetPixelFont(painter, layout.GetSize(RunningHeadsSize).size, f.scale);
    for (const LayoutBox& b : layout.GetBoxes(RunningHeadsLayout)) {
        const QRectF r = f.map(b);
        painter.drawRect(r);
        painter.drawText(r, Qt::AlignCenter, QStringLiteral("羅生門"));
    }
}

}  // namespace

CYbLayoutPreview::CYbLayoutPreview(QWidget* parent)
    : QWidget(parent), layout_(std::make_unique<CYbPreviewLayout>()) {
    setMinimumSize(440, 310);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CYbLayoutPreview::showLayout(const CYbTxtLayout& layout) {
    layout_->CopyFrom(layout);
    update();
}

void CYbLayoutPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    std::optional<PreviewFrame> frame = FitPaper(*layout_, width(), height());
    if (!frame) return;
    painter.setRenderHint(QPainter::Antialiasing, true);
    DrawPaper(painter, *frame);
    DrawNoteBoxes(painter, *layout_, *frame);
    DrawTextBoxes(painter, *layout_, *frame);
    DrawNombres(painter, *layout_, *frame);
    DrawRunningHeads(painter, *layout_, *frame);
}

CYbLayoutSettingsDlg::CYbLayoutSettingsDlg(CYbTxtLayout& layout, PageKind kind, QWidget* parent)
    : QDialog(parent),
      layout_(layout),
      kind_(kind),
      scratch_(std::make_unique<CYbPreviewLayout>()),
      dataFolder_(DataFolder()) {
    setWindowTitle(kind == PageKind::Bunko ? QStringLiteral("文庫本レイアウトの設定")
                                           : QStringLiteral("新書縦2段レイアウトの設定"));
    message_ = [this](const std::u16string& text, const std::u16string& caption) {
        ShowMessageBox(this, text, caption);
    };
    ask_ = [this](const std::u16string& text, const std::u16string& caption) {
        return AskYesNo(this, text, caption);
    };
    buildFields();
    fillFromLayout();
}

CYbLayoutSettingsDlg::~CYbLayoutSettingsDlg() = default;

void CYbLayoutSettingsDlg::buildFields() {
    auto length = [this](PageField f) {
        auto* spin = new QDoubleSpinBox(this);
        spin->setDecimals(2);
        spin->setRange(-kMaxMillimetres, kMaxMillimetres);
        spin->setSingleStep(0.5);
        spin->setSuffix(QStringLiteral(" mm"));
        connect(spin, &QDoubleSpinBox::valueChanged, this, [this] { updatePreview(); });
        fields_[size_t(f)] = spin;
        return spin;
    };
    auto count = [this](PageField f) {
        auto* spin = new QSpinBox(this);
        spin->setRange(-kMaxCount, kMaxCount);
        connect(spin, &QSpinBox::valueChanged, this, [this] { updatePreview(); });
        fields_[size_t(f)] = spin;
        return spin;
    };
    auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    // One row of a group: a caption, then (label, field) pairs.
    auto row = [&](QGridLayout* grid, int r, const char* caption,
                   std::initializer_list<std::pair<const char*, QWidget*>> items) {
        grid->addWidget(label(caption), r, 0);
        int c = 1;
        for (const auto& [text, widget] : items) {
            if (*text) grid->addWidget(label(text), r, c);
            grid->addWidget(widget, r, c + 1);
            c += 2;
        }
    };

    auto* paper = new QGroupBox(QStringLiteral("用紙 (見開き)"), this);
    auto* paperGrid = new QGridLayout(paper);
    row(paperGrid, 0, "",
        {{"幅", length(PageField::PaperWidth)}, {"高さ", length(PageField::PaperHeight)}});

    auto* body = new QGroupBox(QStringLiteral("本文"), this);
    auto* bodyGrid = new QGridLayout(body);
    row(bodyGrid, 0, kind_ == PageKind::Bunko ? "行数 (1ページ)" : "行数 (1段)",
        {{"", count(PageField::Lines)}});
    row(bodyGrid, 1, "字詰", {{"", count(PageField::Chars)}});
    row(bodyGrid, 2, "本文",
        {{"サイズ", length(PageField::TextSize)}, {"行間", length(PageField::TextSpacing)}});
    row(bodyGrid, 3, "ルビ",
        {{"サイズ", length(PageField::RubySize)}, {"行間", length(PageField::RubySpacing)}});
    row(bodyGrid, 4, "注釈",
        {{"サイズ", length(PageField::NoteSize)}, {"行間", length(PageField::NoteSpacing)}});

    auto* margins = new QGroupBox(QStringLiteral("余白"), this);
    auto* marginGrid = new QGridLayout(margins);
    row(marginGrid, 0, "", {{"天", length(PageField::Top)}, {"地", length(PageField::Bottom)}});
    row(marginGrid, 1, "",
        {{"小口", length(PageField::ForeEdge)}, {"のど", length(PageField::Gutter)}});
    if (kind_ == PageKind::Shinsho) row(marginGrid, 2, "", {{"段間", length(PageField::TierGap)}});

    auto* nombre = new QGroupBox(QStringLiteral("ノンブル"), this);
    auto* nombreGrid = new QGridLayout(nombre);
    auto* placement = new QComboBox(this);
    placement->addItems({QStringLiteral("外"), QStringLiteral("中央"), QStringLiteral("内")});
    connect(placement, &QComboBox::currentIndexChanged, this, [this] { updatePreview(); });
    fields_[size_t(PageField::NombrePlacement)] = placement;
    row(nombreGrid, 0, "サイズ", {{"", length(PageField::NombreSize)}, {"配置", placement}});
    row(nombreGrid, 1, "右",
        {{"x", length(PageField::NombreRightX)}, {"y", length(PageField::NombreRightY)}});
    row(nombreGrid, 2, "左",
        {{"x", length(PageField::NombreLeftX)}, {"y", length(PageField::NombreLeftY)}});

    auto* heads = new QGroupBox(QStringLiteral("柱"), this);
    auto* headGrid = new QGridLayout(heads);
    row(headGrid, 0, "サイズ", {{"", length(PageField::RunningHeadsSize)}});
    row(headGrid, 1, "位置",
        {{"x", length(PageField::RunningHeadsX)}, {"y", length(PageField::RunningHeadsY)}});

    auto* left = new QVBoxLayout;
    for (QWidget* group : {static_cast<QWidget*>(paper), static_cast<QWidget*>(body),
                           static_cast<QWidget*>(margins)})
        left->addWidget(group);
    left->addStretch();
    auto* right = new QVBoxLayout;
    preview_ = new CYbLayoutPreview(this);
    right->addWidget(preview_, 1);
    right->addWidget(nombre);
    right->addWidget(heads);

    buttons_ = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons_->button(QDialogButtonBox::Apply)->setText(QStringLiteral("適用"));
    defaults_ =
        buttons_->addButton(QStringLiteral("デフォルトに戻す"), QDialogButtonBox::ResetRole);
    connect(buttons_->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, [this] {
        if (apply()) accept();
    });
    connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { apply(); });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults_, &QPushButton::clicked, this, [this] { restoreDefaults(); });

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(columns);
    top->addWidget(buttons_);
}

PageParams CYbLayoutSettingsDlg::params() const {
    PageParams p = base_;
    for (int i = 0; i < kFieldCount; ++i) {
        const auto f = PageField(i);
        QWidget* w = fields_[size_t(i)];
        if (!w) continue;
        if (auto* combo = qobject_cast<QComboBox*>(w))
            Member(p, f) = combo->currentIndex();
        else if (auto* spin = qobject_cast<QSpinBox*>(w))
            Member(p, f) = spin->value();
        else if (auto* length = qobject_cast<QDoubleSpinBox*>(w))
            Member(p, f) = int32_t(std::lround(length->value() * 100));
    }
    return p;
}

void CYbLayoutSettingsDlg::setParams(const PageParams& params) {
    base_ = params;
    filling_ = true;
    for (int i = 0; i < kFieldCount; ++i) {
        const auto f = PageField(i);
        QWidget* w = fields_[size_t(i)];
        if (!w) continue;
        const int32_t value = Member(base_, f);
        if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->setCurrentIndex(value >= 0 && value <= 2 ? value : 0);
        else if (auto* spin = qobject_cast<QSpinBox*>(w))
            spin->setValue(value);
        else if (auto* length = qobject_cast<QDoubleSpinBox*>(w))
            length->setValue(value / 100.0);
    }
    filling_ = false;
    clearMarks();
    updatePreview();
}

void CYbLayoutSettingsDlg::fillFromLayout() {
    PageParams p;
    FillPageParams(layout_, kind_, p);
    setParams(p);
}

void CYbLayoutSettingsDlg::updatePreview() {
    if (filling_) return;
    // The same rules as the real apply, on a layout that is never written.
    ApplyLayoutSettings(*scratch_, params(), kind_, dataFolder_);
    preview_->showLayout(*scratch_);
}

void CYbLayoutSettingsDlg::clearMarks() {
    for (QWidget* w : fields_)
        if (w) w->setStyleSheet(QString());
}

bool CYbLayoutSettingsDlg::isMarked(PageField which) const {
    QWidget* w = field(which);
    return w && !w->styleSheet().isEmpty();
}

bool CYbLayoutSettingsDlg::apply() {
    clearMarks();
    const PageParams p = params();
    const std::vector<PageField> failed = ValidatePageParams(p, kind_);
    QWidget* first = nullptr;
    for (PageField f : failed) {
        QWidget* w = field(f);
        if (!w) continue;
        w->setStyleSheet(QString::fromLatin1(kMarkedSheet));
        if (!first) first = w;
    }
    if (!failed.empty()) {
        if (first) first->setFocus(Qt::OtherFocusReason);
        if (message_) message_(std::u16string(kPageParamsInvalidMessage), u"Yomibon");
        // The message box took the focus while it was up.
        if (first) first->setFocus(Qt::OtherFocusReason);
        return false;
    }
    ApplyLayoutSettings(layout_, p, kind_, dataFolder_);
    if (changed_) changed_();
    return true;
}

void CYbLayoutSettingsDlg::restoreDefaults() {
    if (!ask_ || !ask_(u"デフォルトの設定に戻します。よろしいですか？", u"Yomibon")) return;
    // The built-in layout forgets its file; keep it, so that OK writes the file being edited
    // (the one the document reads) rather than another.
    const std::u16string file = layout_.GetFileName();
    layout_.SetDefault();
    layout_.SetFileName(file);
    fillFromLayout();
}

CYbLayoutDialogRunner::CYbLayoutDialogRunner(std::function<void()> onChanged)
    : onChanged_(std::move(onChanged)) {}

int CYbLayoutDialogRunner::run(void* parent, CYbTxtLayout& layout, PageKind kind) {
    CYbLayoutSettingsDlg dlg(layout, kind, static_cast<QWidget*>(parent));
    dlg.setLayoutChangedFunc(onChanged_);
    if (message_) dlg.setMessageFunc(message_);
    return dlg.exec();
}

int CYbLayoutDialogRunner::ShowBunkoDialog(void* parent, CYbBunkoTxtLayout& layout) {
    return run(parent, layout, PageKind::Bunko);
}

int CYbLayoutDialogRunner::ShowShinshoDialog(void* parent, CYbShinShoTate2TxtLayout& layout) {
    return run(parent, layout, PageKind::Shinsho);
}

}  // namespace Yomibon
