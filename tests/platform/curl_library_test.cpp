#include <gtest/gtest.h>

#include <string>

#include "platform/curl_library.h"
#include "platform/net.h"
#include "support/test_support.h"

namespace Yomibon {
namespace {

// The library is loaded at the first call with every function the fetcher uses, once for
// the process, and a transfer through those functions delivers a file's bytes.
TEST(CurlLibrary, LoadsOnceWithEveryFunctionAndFetches) {
    std::string why = "untouched";
    const CYbCurlLibrary* curl = CurlLibrary(&why);
    ASSERT_NE(curl, nullptr) << why;
    EXPECT_EQ(why, "untouched");  // no reason given when it loads
    EXPECT_EQ(CurlLibrary(), curl);
    EXPECT_TRUE(curl->globalInit && curl->easyInit && curl->easyCleanup && curl->easyReset &&
                curl->easySetopt && curl->easyGetinfo && curl->easyStrerror);
    EXPECT_TRUE(curl->multiInit && curl->multiCleanup && curl->multiAddHandle &&
                curl->multiRemoveHandle && curl->multiPerform && curl->multiInfoRead &&
                curl->multiPoll && curl->multiWakeup);
    EXPECT_STREQ(curl->easyStrerror(CURLE_OK), "No error");

    Yomibon::Test::TempDir dir;
    Yomibon::Test::WriteFile(dir.path() / "page.txt", "loaded when needed");
    NetRequest request;
    request.url = "file://" + (dir.path() / "page.txt").string();
    request.proxy = NetProxySettings{false, false, "", ""};
    NetResult result = NetFetch(request);
    ASSERT_TRUE(result.ok()) << result.detail;
    EXPECT_EQ(result.body, "loaded when needed");
}

}  // namespace
}  // namespace Yomibon
