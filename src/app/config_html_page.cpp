#include "app/config_html_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/txt_param.h"

namespace Yomibon {
namespace {

QString Q(std::u16string_view s) {
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

}  // namespace

CYbHtmlOptionConfig::CYbHtmlOptionConfig(CYbTxtParam& param, QWidget* parent)
    : CYbPropPage(param, parent) {
    auto* top = new QVBoxLayout(this);
    auto* images = new QGroupBox(QStringLiteral("この大きさより小さい画像は表示しない"), this);
    auto* size = new QHBoxLayout(images);
    size->addWidget(new QLabel(QStringLiteral("幅"), images));
    width_ = new CYbNumberField(0, 9999, images);
    size->addWidget(width_);
    size->addWidget(new QLabel(QStringLiteral("高さ"), images));
    height_ = new CYbNumberField(0, 9999, images);
    size->addWidget(height_);
    size->addStretch();
    top->addWidget(images);

    auto* connection = new QGroupBox(QStringLiteral("接続"), this);
    auto* grid = new QGridLayout(connection);
    useIESetting_ = new QCheckBox(QStringLiteral("IEの設定を使用する"), connection);
    direct_ = new QRadioButton(QStringLiteral("直接接続(Proxyを使用しない)"), connection);
    proxy_ = new QRadioButton(QStringLiteral("Proxyを使用"), connection);
    proxyServer_ = new QLineEdit(connection);
    noProxy_ = new QLineEdit(connection);
    grid->addWidget(useIESetting_, 0, 0, 1, 2);
    grid->addWidget(direct_, 1, 0, 1, 2);
    grid->addWidget(proxy_, 2, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("使用するプロキシのアドレス"), connection), 3, 0);
    grid->addWidget(proxyServer_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("例外"), connection), 4, 0);
    grid->addWidget(noProxy_, 4, 1);
    grid->setColumnStretch(1, 1);
    top->addWidget(connection);
    top->addStretch();
    read();
    watchControls();
}

void CYbHtmlOptionConfig::read() {
    const std::vector<int32_t>& skip = param_.GetPoints(u"SkipHTMLImgSize");
    width_->setValue(skip.size() > 0 ? skip[0] : 0);
    height_->setValue(skip.size() > 1 ? skip[1] : 0);
    useIESetting_->setChecked(param_.GetBoolean(u"UseIESetting"));
    (param_.GetBoolean(u"UseProxy") ? proxy_ : direct_)->setChecked(true);
    proxyServer_->setText(Q(param_.GetText(u"ProxyServer")));
    noProxy_->setText(Q(param_.GetText(u"NoProxyAddress")));
}

void CYbHtmlOptionConfig::write() {
    const int32_t skip[2] = {width_->value(), height_->value()};
    param_.SetPoints(u"SkipHTMLImgSize", skip, 2);
    param_.SetBoolean(u"UseIESetting", useIESetting_->isChecked());
    param_.SetBoolean(u"UseProxy", proxy_->isChecked());
    param_.SetText(u"ProxyServer", proxyServer_->text().toStdU16String());
    param_.SetText(u"NoProxyAddress", noProxy_->text().toStdU16String());
}

}  // namespace Yomibon
