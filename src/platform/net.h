// Fetching one address over http, https or file: libcurl on a worker thread while the
// calling thread waits and reports progress to an observer about every 100 ms.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/limits.h"

namespace Yomibon {

// The proxy settings as the user set them.
struct NetProxySettings {
    bool useSystem = true;  // take the proxy from the environment (http_proxy, no_proxy...)
    bool useProxy = false;  // else use `server`, bypassed for the hosts in `bypass`
    std::string server;     // "host:port"
    std::string bypass;     // hosts separated by ";" ("127.0.0.1;*.local;<local>")
};

// The proxy variables of the environment.
struct NetEnvironment {
    std::string httpProxy;   // http_proxy (lower case only, as curl reads it)
    std::string httpsProxy;  // https_proxy or HTTPS_PROXY
    std::string allProxy;    // all_proxy or ALL_PROXY
    std::string noProxy;     // no_proxy or NO_PROXY
    static NetEnvironment FromProcess();
};

// The proxy a request for `url` goes through; empty for a direct connection.
std::string ChooseProxy(const NetProxySettings& settings, const NetEnvironment& env,
                        std::string_view url);

// The parts of an address the fetcher looks at.
struct NetUrlParts {
    std::string scheme;  // lower case, without ":"
    std::string host;    // lower case, without brackets or port
};
// False when the address has no scheme.
bool SplitNetUrl(std::string_view url, NetUrlParts& out);

struct NetRequest {
    std::string url;
    NetProxySettings proxy;
    int connectTimeoutMs = 15'000;
    int totalTimeoutMs = 120'000;
    int maxRedirects = 10;
    uint64_t maxBytes = Limits::kMaxDownloadBytes;
};

// How a fetch went.
enum class NetStatus {
    OK,
    BAD_URL,             // not an address at all
    REFUSED_SCHEME,      // a scheme other than http, https, file (or a redirect to one)
    HOST_NOT_FOUND,      // the name does not resolve
    UNREACHABLE,         // no connection could be made (refused, no route)
    PROXY_UNREACHABLE,   // the proxy cannot be found or reached
    HTTP_ERROR,          // the server answered with status 400 or above
    TIMEOUT,             // connect or total time ran out
    TOO_LARGE,           // the body is larger than the cap
    TOO_MANY_REDIRECTS,  // more redirects than allowed
    CANCELLED,           // the observer asked to stop
    FILE_ERROR,          // a file: address that cannot be read
    FAILED,              // anything else the transport reported
};

struct NetResult {
    NetStatus status = NetStatus::FAILED;
    long httpStatus = 0;
    std::string body;
    std::string contentType;  // as sent; empty for files
    std::string finalUrl;     // after redirects
    std::string detail;       // the transport's own words, for FAILED; the proxy used
    int redirects = 0;        // redirects followed
    double elapsedMs = 0;
    std::u16string message;  // Japanese, naming the address and the reason; empty when OK
    bool ok() const { return status == NetStatus::OK; }
};

// How much has arrived, as the observer sees it.
struct NetProgress {
    std::string url;  // the address being fetched now
    uint64_t received = 0;
    uint64_t total = 0;  // 0 when unknown
};

// Told about a running fetch on the calling thread; returning false cancels it at once.
class CYbNetObserver {
  public:
    virtual bool onNetProgress(const NetProgress& progress) = 0;

  protected:
    ~CYbNetObserver() = default;
};

// Fetches the address, following at most maxRedirects http(s) redirects, choosing the
// proxy for each address anew. Blocks the caller, calling the observer meanwhile.
NetResult NetFetch(const NetRequest& request, CYbNetObserver* observer = nullptr,
                   const NetEnvironment& env = NetEnvironment::FromProcess());

// The message of a failed fetch of `url` (also used by callers that refuse an address
// before fetching it).
std::u16string NetFailureMessage(std::string_view url, const NetResult& result);

}  // namespace Yomibon
