#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "platform/net.h"
#include "platform/utf16.h"
#include "support/http_test_server.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

using Test::HttpTestServer;

NetRequest Direct(const std::string& url) {
    NetRequest r;
    r.url = url;
    r.proxy = NetProxySettings{false, false, "", ""};
    r.connectTimeoutMs = 5000;
    r.totalTimeoutMs = 20000;
    return r;
}

// A loopback port that nothing listens on.
int ClosedPort() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    ::close(fd);
    return ntohs(addr.sin_port);
}

std::string Msg(const NetResult& r) {
    return ToUtf8(r.message);
}

class CountingObserver : public CYbNetObserver {
  public:
    explicit CountingObserver(int stopAfter) : stopAfter_(stopAfter) {}
    bool onNetProgress(const NetProgress& p) override {
        url = p.url;
        return ++calls < stopAfter_;
    }
    int calls = 0;
    std::string url;

  private:
    int stopAfter_;
};

TEST(NetFetch, FetchesBodyTypeAndFollowsRedirects) {
    HttpTestServer server;
    server.route("/page.html", {200, "text/html; charset=Shift_JIS", "<html>本文</html>", {}});
    server.redirect("/old", "/page.html");
    server.redirect("/abs", server.url("/old"), 301);
    NetResult r = NetFetch(Direct(server.url("/page.html")));
    ASSERT_TRUE(r.ok()) << Msg(r);
    EXPECT_EQ(r.body, "<html>本文</html>");
    EXPECT_EQ(r.contentType, "text/html; charset=Shift_JIS");
    EXPECT_EQ(r.httpStatus, 200);
    EXPECT_TRUE(r.message.empty());

    r = NetFetch(Direct(server.url("/abs")));
    ASSERT_TRUE(r.ok()) << Msg(r);
    EXPECT_EQ(r.body, "<html>本文</html>");
    EXPECT_EQ(r.finalUrl, server.url("/page.html"));
    EXPECT_EQ(r.redirects, 2);
}

TEST(NetFetch, RedirectLoopStopsAfterTenAndRedirectToFileIsRefused) {
    HttpTestServer server;
    server.redirect("/loop", "/loop");
    NetResult r = NetFetch(Direct(server.url("/loop")));
    EXPECT_EQ(r.status, NetStatus::TOO_MANY_REDIRECTS);
    EXPECT_EQ(server.hits("/loop"), 11);
    EXPECT_NE(Msg(r).find(server.url("/loop")), std::string::npos);
    EXPECT_NE(Msg(r).find("10 回まで"), std::string::npos);

    server.redirect("/sneaky", "file:///etc/passwd");
    r = NetFetch(Direct(server.url("/sneaky")));
    EXPECT_EQ(r.status, NetStatus::REFUSED_SCHEME);
    EXPECT_TRUE(r.body.empty());
    EXPECT_NE(Msg(r).find("file:///etc/passwd"), std::string::npos);
}

TEST(NetFetch, HttpErrorNamesStatusAndAddress) {
    HttpTestServer server;
    NetResult r = NetFetch(Direct(server.url("/missing.html")));
    EXPECT_EQ(r.status, NetStatus::HTTP_ERROR);
    EXPECT_EQ(r.httpStatus, 404);
    EXPECT_TRUE(r.body.empty());
    EXPECT_EQ(Msg(r), "「" + server.url("/missing.html") +
                          "」を開けませんでした。\nサーバーがエラー 404（ページが見つかりません） "
                          "を返しました。");
}

TEST(NetFetch, UnreachableHostAndProxyAreNamed) {
    std::string url = "http://127.0.0.1:" + std::to_string(ClosedPort()) + "/a.html";
    NetResult r = NetFetch(Direct(url));
    EXPECT_EQ(r.status, NetStatus::UNREACHABLE);
    EXPECT_NE(Msg(r).find("ホスト「127.0.0.1」に接続できません"), std::string::npos) << Msg(r);
    EXPECT_NE(Msg(r).find(url), std::string::npos);

    NetRequest viaProxy = Direct("http://www.example.invalid/a.html");
    std::string proxy = "127.0.0.1:" + std::to_string(ClosedPort());
    viaProxy.proxy = NetProxySettings{false, true, proxy, ""};
    r = NetFetch(viaProxy);
    EXPECT_EQ(r.status, NetStatus::PROXY_UNREACHABLE);
    EXPECT_NE(Msg(r).find("プロキシ「" + proxy + "」に接続できません"), std::string::npos)
        << Msg(r);
}

TEST(NetFetch, SilentServerTimesOutAndObserverCancelsAtOnce) {
    HttpTestServer server;
    HttpTestServer::Response silent;
    silent.neverAnswer = true;
    server.route("/silent", silent);
    NetRequest request = Direct(server.url("/silent"));
    request.totalTimeoutMs = 600;
    NetResult r = NetFetch(request);
    EXPECT_EQ(r.status, NetStatus::TIMEOUT);
    EXPECT_NE(Msg(r).find("時間切れ"), std::string::npos);
    EXPECT_NE(Msg(r).find(server.url("/silent")), std::string::npos);

    // The observer is asked about every 100 ms; its refusal ends the fetch long before the
    // 60 s the request would otherwise wait.
    request.totalTimeoutMs = 60'000;
    CountingObserver observer(3);
    auto start = std::chrono::steady_clock::now();
    r = NetFetch(request, &observer);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.status, NetStatus::CANCELLED);
    EXPECT_EQ(observer.calls, 3);
    EXPECT_EQ(observer.url, server.url("/silent"));
    EXPECT_LT(seconds, 5.0);
    EXPECT_NE(Msg(r).find("中止"), std::string::npos);
}

TEST(NetFetch, BodyOverTheCapIsRefused) {
    HttpTestServer server;
    server.route("/big", {200, "text/plain", std::string(5000, 'x'), {}});
    NetRequest request = Direct(server.url("/big"));
    request.maxBytes = 4096;
    NetResult r = NetFetch(request);
    EXPECT_EQ(r.status, NetStatus::TOO_LARGE);
    EXPECT_TRUE(r.body.empty() || r.body.size() <= 4096);
    EXPECT_NE(Msg(r).find("上限 64 MB"), std::string::npos);
    request.maxBytes = 5000;
    EXPECT_TRUE(NetFetch(request).ok());
}

TEST(NetFetch, OnlyHttpHttpsAndFileSchemes) {
    NetResult r = NetFetch(Direct("ftp://127.0.0.1/a.txt"));
    EXPECT_EQ(r.status, NetStatus::REFUSED_SCHEME);
    EXPECT_NE(Msg(r).find("「ftp:」のアドレスは開けません"), std::string::npos);
    EXPECT_EQ(NetFetch(Direct("gopher://127.0.0.1/")).status, NetStatus::REFUSED_SCHEME);
    EXPECT_EQ(NetFetch(Direct("no address")).status, NetStatus::BAD_URL);

    Yomibon::Test::TempDir dir;
    Yomibon::Test::WriteFile(dir.path() / "a.txt", "ファイル");
    r = NetFetch(Direct("file://" + (dir.path() / "a.txt").string()));
    ASSERT_TRUE(r.ok()) << Msg(r);
    EXPECT_EQ(r.body, "ファイル");
    r = NetFetch(Direct("file://" + (dir.path() / "none.txt").string()));
    EXPECT_EQ(r.status, NetStatus::FILE_ERROR);
}

TEST(NetFetch, ProxyIsUsedAsChosenAndEnvironmentIgnoredWhenDirect) {
    HttpTestServer proxy;
    proxy.route("/via-proxy.html", {200, "text/html", "proxied", {}});
    std::string address = "127.0.0.1:" + std::to_string(proxy.port());

    NetRequest own = Direct("http://yomibon.invalid/via-proxy.html");
    own.proxy = NetProxySettings{false, true, address, "127.0.0.1;"};
    NetResult r = NetFetch(own);
    ASSERT_TRUE(r.ok()) << Msg(r);
    EXPECT_EQ(r.body, "proxied");
    ASSERT_EQ(proxy.targets().size(), 1u);
    EXPECT_EQ(proxy.targets()[0], "http://yomibon.invalid/via-proxy.html");

    NetEnvironment env;
    env.httpProxy = "http://" + address;
    NetRequest system = Direct("http://yomibon.invalid/via-proxy.html");
    system.proxy.useSystem = true;
    r = NetFetch(system, nullptr, env);
    ASSERT_TRUE(r.ok()) << Msg(r);
    EXPECT_EQ(proxy.targets().size(), 2u);

    // Direct: a proxy in the environment is not consulted (it would refuse the connection).
    HttpTestServer origin;
    origin.route("/a", {200, "text/plain", "direct", {}});
    NetEnvironment dead;
    dead.httpProxy = "http://127.0.0.1:" + std::to_string(ClosedPort());
    r = NetFetch(Direct(origin.url("/a")), nullptr, dead);
    ASSERT_TRUE(r.ok()) << Msg(r);
    EXPECT_EQ(r.body, "direct");
}

}  // namespace
}  // namespace Yomibon
