#include <gtest/gtest.h>

#include "platform/net.h"

namespace Yomibon {
namespace {

NetProxySettings System() {
    return NetProxySettings{true, true, "own:8080", "127.0.0.1;"};
}

NetProxySettings Own(std::string bypass) {
    return NetProxySettings{false, true, "own.example:8080", std::move(bypass)};
}

NetEnvironment Env() {
    NetEnvironment env;
    env.httpProxy = "http://envproxy:3128";
    env.httpsProxy = "http://secure:3129";
    env.noProxy = "localhost,.internal.example, lan.example:80";
    return env;
}

TEST(NetProxy, EnvironmentChosenBySchemeAndBypassedByNoProxy) {
    EXPECT_EQ(ChooseProxy(System(), Env(), "http://www.aozora.gr.jp/a.html"),
              "http://envproxy:3128");
    EXPECT_EQ(ChooseProxy(System(), Env(), "https://www.aozora.gr.jp/a.html"),
              "http://secure:3129");
    // no_proxy names a domain with or without a leading dot, and every name under it.
    EXPECT_EQ(ChooseProxy(System(), Env(), "http://localhost:8000/x"), "");
    EXPECT_EQ(ChooseProxy(System(), Env(), "http://a.internal.example/x"), "");
    EXPECT_EQ(ChooseProxy(System(), Env(), "http://internal.example/x"), "");
    EXPECT_EQ(ChooseProxy(System(), Env(), "http://b.lan.example/x"), "");
    EXPECT_EQ(ChooseProxy(System(), Env(), "http://notinternal.example/x"), "http://envproxy:3128");
    NetEnvironment all = Env();
    all.noProxy = "*";
    EXPECT_EQ(ChooseProxy(System(), all, "http://www.aozora.gr.jp/"), "");
}

TEST(NetProxy, EnvironmentFallsBackToAllProxyAndOtherwiseDirect) {
    NetEnvironment env;
    EXPECT_EQ(ChooseProxy(System(), env, "http://www.aozora.gr.jp/"), "");
    env.allProxy = "socks5://all:1080";
    EXPECT_EQ(ChooseProxy(System(), env, "https://www.aozora.gr.jp/"), "socks5://all:1080");
    // The settings' own proxy is not used while the environment's settings are chosen.
    EXPECT_EQ(ChooseProxy(System(), NetEnvironment{}, "http://x.example/"), "");
}

TEST(NetProxy, OwnServerWithBypassList) {
    EXPECT_EQ(ChooseProxy(Own("127.0.0.1;"), Env(), "http://www.aozora.gr.jp/"),
              "own.example:8080");
    EXPECT_EQ(ChooseProxy(Own("127.0.0.1;"), Env(), "http://127.0.0.1:8000/a"), "");
    EXPECT_EQ(ChooseProxy(Own("*.aozora.gr.jp; 10.*"), Env(), "http://WWW.Aozora.gr.jp/"), "");
    EXPECT_EQ(ChooseProxy(Own("*.aozora.gr.jp; 10.*"), Env(), "http://10.1.2.3/"), "");
    EXPECT_EQ(ChooseProxy(Own("*.aozora.gr.jp; 10.*"), Env(), "http://aozora.gr.jp/"),
              "own.example:8080");
    // <local>: names without a dot.
    EXPECT_EQ(ChooseProxy(Own("<local>"), Env(), "http://intranet/a"), "");
    EXPECT_EQ(ChooseProxy(Own("<local>"), Env(), "http://intra.example/a"), "own.example:8080");
    // Port in the entry and user info in the address do not matter.
    EXPECT_EQ(ChooseProxy(Own("host.example:80"), Env(), "http://u:p@host.example:8080/"), "");
    EXPECT_EQ(ChooseProxy(Own(""), Env(), "http://[::1]:8080/"), "own.example:8080");
    EXPECT_EQ(ChooseProxy(Own("::1"), Env(), "http://[::1]:8080/"), "");
}

TEST(NetProxy, DirectWhenNeitherIsChosenAndForFiles) {
    NetProxySettings direct{false, false, "own.example:8080", ""};
    EXPECT_EQ(ChooseProxy(direct, Env(), "http://www.aozora.gr.jp/"), "");
    NetProxySettings noServer{false, true, "  ", ""};
    EXPECT_EQ(ChooseProxy(noServer, Env(), "http://www.aozora.gr.jp/"), "");
    EXPECT_EQ(ChooseProxy(System(), Env(), "file:///tmp/a.html"), "");
    EXPECT_EQ(ChooseProxy(Own(""), Env(), "ftp://x.example/a"), "");
    EXPECT_EQ(ChooseProxy(Own(""), Env(), "not a url"), "");
}

TEST(NetProxy, SplitsSchemeAndHost) {
    NetUrlParts p;
    ASSERT_TRUE(SplitNetUrl("HTTPS://User@Example.COM:443/path?q#f", p));
    EXPECT_EQ(p.scheme, "https");
    EXPECT_EQ(p.host, "example.com");
    ASSERT_TRUE(SplitNetUrl("file:///tmp/x", p));
    EXPECT_EQ(p.scheme, "file");
    EXPECT_EQ(p.host, "");
    EXPECT_FALSE(SplitNetUrl("/tmp/x", p));
    EXPECT_FALSE(SplitNetUrl(":x", p));
}

}  // namespace
}  // namespace Yomibon
