// 表示: fonts, line-breaking characters, layout, colours, background, page flip, anti-alias
// and picture transparency.
#pragma once

#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "app/config_dlg.h"
#include "layout/txt_layout_list.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace Yomibon {

class CYbTxtStyleConfig : public CYbPropPage {
  public:
    static constexpr int kResourceId = 114;
    static constexpr int kFontCount = 5;  // 本文, ルビ, 注釈, ノンブル, 柱
    static constexpr int kListCount = 4;  // 行頭禁止, 行末禁止, ぶら下げ, 分割禁止

    CYbTxtStyleConfig(CYbTxtParam& param, QWidget* parent = nullptr);

    // Called after the page wrote its settings.
    void setAppliedFunc(std::function<void()> func) { onApplied_ = std::move(func); }

    bool validate() override;
    void write() override;

    // The fields before this one set vertical text (本文, ルビ, 注釈).
    static constexpr int kFirstHorizontalFont = 3;

    // The installed faces that cover Japanese, by family name.
    static QStringList FontNames();
    // The same faces in their vertical "@" forms: what the vertical fields offer.
    static QStringList VerticalFontNames();
    static bool IsVerticalField(int i);
    // True when the face (without its "@") names an installed font, under any of its names.
    static bool IsInstalledFont(const QString& face);

    QComboBox* fontBox(int i) const { return fonts_[size_t(i)]; }
    CYbColorButton* fontColor(int i) const { return fontColors_[size_t(i)]; }
    QLineEdit* fontSpacing(int i) const { return spacings_[size_t(i)]; }
    QCheckBox* fontCentering(int i) const { return centerings_[size_t(i)]; }
    QLineEdit* listEdit(int i) const { return lists_[size_t(i)]; }
    QComboBox* layoutBox() const { return layout_; }
    const std::vector<LayoutEntry>& layouts() const { return entries_; }
    CYbNumberField* tateNakaField() const { return tateNaka_; }
    QComboBox* kinsokuModeBox() const { return kinsokuMode_; }
    CYbColorButton* pageColor() const { return pageColor_; }
    CYbColorButton* outsideColor() const { return outsideColor_; }
    CYbColorButton* linkColor() const { return linkColor_; }
    QLineEdit* backgroundEdit() const { return background_; }
    QCheckBox* wzMemoCheck() const { return wzMemo_; }
    QCheckBox* pageFlipCheck() const { return pageFlip_; }
    CYbNumberField* flipIntervalField() const { return flipInterval_; }
    QRadioButton* antiAliasNormal() const { return aaNormal_; }
    QRadioButton* antiAliasLcd() const { return aaLcd_; }
    QCheckBox* whiteTransCheck() const { return whiteTrans_; }
    CYbNumberField* transRateField() const { return transRate_; }

  private:
    QWidget* makeFontGroup();
    QWidget* makeListGroup();
    QWidget* makeOtherGroup();
    void read();
    void browseBackground();
    // A field that is enabled must hold a number within minimum..maximum.
    bool checkRange(CYbNumberField* field, int minimum, int maximum, int message);

    std::array<QComboBox*, kFontCount> fonts_{};
    std::array<CYbColorButton*, kFontCount> fontColors_{};
    std::array<QLineEdit*, kFontCount> spacings_{};
    std::array<QCheckBox*, kFontCount> centerings_{};
    std::array<QLineEdit*, kListCount> lists_{};
    std::vector<LayoutEntry> entries_;
    QComboBox* layout_ = nullptr;
    CYbNumberField* tateNaka_ = nullptr;
    QComboBox* kinsokuMode_ = nullptr;
    CYbColorButton* pageColor_ = nullptr;
    CYbColorButton* outsideColor_ = nullptr;
    CYbColorButton* linkColor_ = nullptr;
    QLineEdit* background_ = nullptr;
    QCheckBox* wzMemo_ = nullptr;
    QCheckBox* pageFlip_ = nullptr;
    CYbNumberField* flipInterval_ = nullptr;
    QRadioButton* aaNormal_ = nullptr;
    QRadioButton* aaLcd_ = nullptr;
    QCheckBox* whiteTrans_ = nullptr;
    CYbNumberField* transRate_ = nullptr;
    std::function<void()> onApplied_;
};

}  // namespace Yomibon
