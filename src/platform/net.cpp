// NetFetch on libcurl (the only file that calls it, loaded by the first fetch). The transfer runs
// on a worker thread through a multi handle, so that the caller's cancel wakes it at once; the
// caller waits on a condition variable and reports progress about every 100 ms.
#include "platform/net.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/curl_library.h"

namespace Yomibon {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kObserverInterval = std::chrono::milliseconds(100);

// The loaded library; NetFetch makes sure it is there before anything calls it.
const CYbCurlLibrary& Curl() {
    return *CurlLibrary();
}

// What the worker and the waiting caller share.
struct Transfer {
    Transfer(const NetRequest& r, const NetEnvironment& e) : request(r), env(e) {}
    const NetRequest& request;
    const NetEnvironment& env;
    NetResult result;
    std::mutex mutex;
    std::condition_variable doneSignal;
    bool done = false;
    std::string currentUrl;  // under mutex
    std::atomic<bool> cancel{false};
    std::atomic<bool> tooLarge{false};
    std::atomic<uint64_t> received{0};
    std::atomic<uint64_t> total{0};
    CURLM* multi = nullptr;
};

size_t OnWrite(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    size_t n = size * count;
    if (t->result.body.size() + n > t->request.maxBytes) {
        t->tooLarge = true;
        return 0;  // aborts with a write error
    }
    t->result.body.append(data, n);
    t->received = t->result.body.size();
    return n;
}

int OnProgress(void* user, curl_off_t total, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (total > 0) t->total = uint64_t(total);
    return t->cancel ? 1 : 0;
}

bool IsHttp(const std::string& scheme) {
    return scheme == "http" || scheme == "https";
}

NetStatus StatusOf(CURLcode code, const Transfer& t, bool viaProxy) {
    if (t.cancel) return NetStatus::CANCELLED;
    if (t.tooLarge) return NetStatus::TOO_LARGE;
    switch (code) {
        case CURLE_OK:
            return NetStatus::OK;
        case CURLE_URL_MALFORMAT:
            return NetStatus::BAD_URL;
        case CURLE_UNSUPPORTED_PROTOCOL:
            return NetStatus::REFUSED_SCHEME;
        case CURLE_COULDNT_RESOLVE_HOST:
            return viaProxy ? NetStatus::PROXY_UNREACHABLE : NetStatus::HOST_NOT_FOUND;
        case CURLE_COULDNT_RESOLVE_PROXY:
            return NetStatus::PROXY_UNREACHABLE;
        case CURLE_COULDNT_CONNECT:
            return viaProxy ? NetStatus::PROXY_UNREACHABLE : NetStatus::UNREACHABLE;
        case CURLE_OPERATION_TIMEDOUT:
            return NetStatus::TIMEOUT;
        case CURLE_FILESIZE_EXCEEDED:
            return NetStatus::TOO_LARGE;
        case CURLE_ABORTED_BY_CALLBACK:
            return NetStatus::CANCELLED;
        case CURLE_FILE_COULDNT_READ_FILE:
        case CURLE_READ_ERROR:
            return NetStatus::FILE_ERROR;
        case CURLE_TOO_MANY_REDIRECTS:
            return NetStatus::TOO_MANY_REDIRECTS;
        default:
            return NetStatus::FAILED;
    }
}

class CYbEasyHandle {
  public:
    CYbEasyHandle() : easy_(Curl().easyInit()) {}
    ~CYbEasyHandle() { Curl().easyCleanup(easy_); }
    CYbEasyHandle(const CYbEasyHandle&) = delete;
    CYbEasyHandle& operator=(const CYbEasyHandle&) = delete;
    CURL* get() const { return easy_; }

  private:
    CURL* easy_;
};

void SetOptions(CURL* easy, Transfer& t, const std::string& url, const std::string& proxy,
                long timeoutMs, char* errorBuffer) {
    Curl().easyReset(easy);
    Curl().easySetopt(easy, CURLOPT_URL, url.c_str());
    Curl().easySetopt(easy, CURLOPT_NOSIGNAL, 1L);
    Curl().easySetopt(easy, CURLOPT_PROTOCOLS_STR, "http,https,file");
    // Redirects are followed here, one at a time, so that each address gets its own proxy.
    Curl().easySetopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    // Empty strings: the environment's proxy variables are used only through ChooseProxy.
    Curl().easySetopt(easy, CURLOPT_PROXY, proxy.c_str());
    Curl().easySetopt(easy, CURLOPT_NOPROXY, "");
    Curl().easySetopt(easy, CURLOPT_CONNECTTIMEOUT_MS, long(t.request.connectTimeoutMs));
    Curl().easySetopt(easy, CURLOPT_TIMEOUT_MS, timeoutMs);
    Curl().easySetopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(t.request.maxBytes));
    Curl().easySetopt(easy, CURLOPT_ACCEPT_ENCODING, "");
    Curl().easySetopt(easy, CURLOPT_USERAGENT, "Yomibon/0.1");
    Curl().easySetopt(easy, CURLOPT_WRITEFUNCTION, OnWrite);
    Curl().easySetopt(easy, CURLOPT_WRITEDATA, &t);
    Curl().easySetopt(easy, CURLOPT_NOPROGRESS, 0L);
    Curl().easySetopt(easy, CURLOPT_XFERINFOFUNCTION, OnProgress);
    Curl().easySetopt(easy, CURLOPT_XFERINFODATA, &t);
    Curl().easySetopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
}

// Runs one request through the multi handle; wakes at once when the caller cancels.
CURLcode Perform(Transfer& t, CURL* easy) {
    Curl().multiAddHandle(t.multi, easy);
    CURLcode code = CURLE_OK;
    for (;;) {
        int running = 0;
        if (Curl().multiPerform(t.multi, &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        int queued = 0;
        if (CURLMsg* msg = Curl().multiInfoRead(t.multi, &queued);
            msg && msg->msg == CURLMSG_DONE) {
            code = msg->data.result;
            break;
        }
        if (t.cancel) {
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        Curl().multiPoll(t.multi, nullptr, 0, 1000, nullptr);
    }
    Curl().multiRemoveHandle(t.multi, easy);
    return code;
}

long ElapsedMs(Clock::time_point start) {
    return long(
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// One request; true when it ended in a redirect to follow (its target in `next`).
bool Hop(Transfer& t, CURL* easy, const std::string& url, Clock::time_point start,
         std::string& next) {
    NetResult& r = t.result;
    r.finalUrl = url;
    r.body.clear();
    t.received = 0;
    t.total = 0;
    {
        std::lock_guard lock(t.mutex);
        t.currentUrl = url;
    }
    NetUrlParts parts;
    if (!SplitNetUrl(url, parts)) {
        r.status = NetStatus::BAD_URL;
        return false;
    }
    if (!IsHttp(parts.scheme) && parts.scheme != "file") {
        r.status = NetStatus::REFUSED_SCHEME;
        return false;
    }
    long left = long(t.request.totalTimeoutMs) - ElapsedMs(start);
    if (left <= 0) {
        r.status = NetStatus::TIMEOUT;
        return false;
    }
    std::string proxy = ChooseProxy(t.request.proxy, t.env, url);
    char errorBuffer[CURL_ERROR_SIZE] = {};
    SetOptions(easy, t, url, proxy, left, errorBuffer);
    CURLcode code = Perform(t, easy);
    r.status = StatusOf(code, t, !proxy.empty());
    if (r.status != NetStatus::OK) {
        r.detail = r.status == NetStatus::PROXY_UNREACHABLE ? proxy
                   : errorBuffer[0]                         ? std::string(errorBuffer)
                                                            : Curl().easyStrerror(code);
        return false;
    }
    if (!IsHttp(parts.scheme)) return false;
    Curl().easyGetinfo(easy, CURLINFO_RESPONSE_CODE, &r.httpStatus);
    char* type = nullptr;
    Curl().easyGetinfo(easy, CURLINFO_CONTENT_TYPE, &type);
    r.contentType = type ? type : "";
    char* location = nullptr;
    Curl().easyGetinfo(easy, CURLINFO_REDIRECT_URL, &location);
    if (r.httpStatus >= 300 && r.httpStatus < 400 && location) {
        next = location;
        return true;
    }
    if (r.httpStatus >= 300) {
        r.status = NetStatus::HTTP_ERROR;
        r.body.clear();
    }
    return false;
}

void Work(Transfer& t) {
    Clock::time_point start = Clock::now();
    CYbEasyHandle easy;
    std::string url = t.request.url;
    for (;;) {
        std::string next;
        if (!Hop(t, easy.get(), url, start, next)) break;
        NetUrlParts target;
        // A page must not send the reader to a local file, nor anywhere but http(s).
        if (!SplitNetUrl(next, target) || !IsHttp(target.scheme)) {
            t.result.status = NetStatus::REFUSED_SCHEME;
            t.result.finalUrl = next;
            break;
        }
        if (t.result.redirects >= t.request.maxRedirects) {
            t.result.status = NetStatus::TOO_MANY_REDIRECTS;
            break;
        }
        ++t.result.redirects;
        url = next;
    }
    t.result.elapsedMs = double(ElapsedMs(start));
    // A failure delivers nothing, not the part that arrived or a redirect's own page.
    if (!t.result.ok()) t.result.body.clear();
    std::lock_guard lock(t.mutex);
    t.done = true;
    t.doneSignal.notify_all();
}

// Waits for the worker, telling the observer about every 100 ms; a refusal wakes the
// worker's poll so that the transfer stops at once.
void Wait(Transfer& t, CYbNetObserver* observer) {
    std::unique_lock lock(t.mutex);
    while (!t.doneSignal.wait_for(lock, kObserverInterval, [&] { return t.done; })) {
        if (!observer || t.cancel) continue;
        NetProgress progress{t.currentUrl, t.received, t.total};
        lock.unlock();
        bool goOn = observer->onNetProgress(progress);
        lock.lock();
        if (!goOn) {
            t.cancel = true;
            Curl().multiWakeup(t.multi);
        }
    }
}

}  // namespace

NetResult NetFetch(const NetRequest& request, CYbNetObserver* observer, const NetEnvironment& env) {
    Transfer t(request, env);
    std::string why;
    if (!CurlLibrary(&why)) {
        t.result.status = NetStatus::FAILED;
        t.result.detail = why;
        t.result.message = NetFailureMessage(request.url, t.result);
        return std::move(t.result);
    }
    t.multi = Curl().multiInit();
    if (!t.multi) {
        t.result.status = NetStatus::FAILED;
        t.result.detail = "curl_multi_init";
    } else {
        std::thread worker([&t] { Work(t); });
        Wait(t, observer);
        worker.join();
        Curl().multiCleanup(t.multi);
    }
    t.result.message = NetFailureMessage(request.url, t.result);
    return std::move(t.result);
}

}  // namespace Yomibon
