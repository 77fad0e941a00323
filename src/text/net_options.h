// What a load from the network needs besides the address: the proxy settings, the time
// it may take, who is told of its progress, and where downloads are kept.
#pragma once

#include <filesystem>

#include "platform/net.h"

namespace Yomibon {

class CYbTxtParam;

struct NetOptions {
    NetProxySettings proxy;
    int connectTimeoutMs = 15'000;
    int totalTimeoutMs = 120'000;
    CYbNetObserver* observer = nullptr;  // asked about every 100 ms; false cancels
    std::filesystem::path cacheFolder;   // the download cache
};

// UseIESetting, UseProxy, ProxyServer and NoProxyAddress of the settings.
NetProxySettings ProxySettingsFrom(const CYbTxtParam& param);
// The options of a load: the settings' proxy, the default timeouts, no observer, and the
// download cache under the data folder.
NetOptions NetOptionsFrom(const CYbTxtParam& param, const std::filesystem::path& dataFolder);

}  // namespace Yomibon
