#include "text/net_options.h"

#include "platform/download_cache.h"
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

NetOptions NetOptionsFrom(const CYbTxtParam& param, const std::filesystem::path& dataFolder) {
    NetOptions o;
    o.proxy = ProxySettingsFrom(param);
    o.cacheFolder = CYbDownloadCache::FolderUnder(dataFolder);
    return o;
}

}  // namespace Yomibon
