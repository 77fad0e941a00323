#include "text/net_options.h"

#include "platform/utf16.h"
#include "settings/txt_param.h"

namespace Yomibon {

NetProxySettings ProxySettingsFrom(const CYbTxtParam& param) {
    NetProxySettings s;
    s.useSystem = param.GetBoolean(u"UseIESetting");
    s.useProxy = param.GetBoolean(u"UseProxy");
    s.server = ToUtf8(param.GetText(u"ProxyServer"));
    s.bypass = ToUtf8(param.GetText(u"NoProxyAddress"));
    return s;
}

}  // namespace Yomibon
