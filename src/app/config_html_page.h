// HTML: the smallest picture size shown, and how pages are fetched (proxy).
#pragma once

#include "app/config_dlg.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace Yomibon {

class CYbHtmlOptionConfig : public CYbPropPage {
  public:
    static constexpr int kResourceId = 323;

    CYbHtmlOptionConfig(CYbTxtParam& param, QWidget* parent = nullptr);

    void write() override;

    CYbNumberField* widthField() const { return width_; }
    CYbNumberField* heightField() const { return height_; }
    QCheckBox* useIESettingCheck() const { return useIESetting_; }
    QRadioButton* directRadio() const { return direct_; }
    QRadioButton* proxyRadio() const { return proxy_; }
    QLineEdit* proxyServerEdit() const { return proxyServer_; }
    QLineEdit* noProxyEdit() const { return noProxy_; }

  private:
    void read();

    CYbNumberField* width_ = nullptr;
    CYbNumberField* height_ = nullptr;
    QCheckBox* useIESetting_ = nullptr;
    QRadioButton* direct_ = nullptr;
    QRadioButton* proxy_ = nullptr;
    QLineEdit* proxyServer_ = nullptr;
    QLineEdit* noProxy_ = nullptr;
};

}  // namespace Yomibon
