// Fetching over the loopback interface: a 2 MB page and a small picture through NetFetch
// (worker thread, 100 ms observer waits), and the download cache storing the page.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/download_cache.h"
#include "platform/net.h"
#include "support/http_test_server.h"

namespace Yomibon {
namespace {

class CountingObserver : public CYbNetObserver {
  public:
    bool onNetProgress(const NetProgress&) override { return ++calls > 0; }
    int calls = 0;
};

NetRequest Direct(const std::string& url) {
    NetRequest r;
    r.url = url;
    r.proxy = NetProxySettings{false, false, "", ""};
    return r;
}

void BM_FetchPage(benchmark::State& state) {
    Test::HttpTestServer server;
    server.route("/big.html", {200, "text/html", std::string(size_t(state.range(0)), 'a'), {}});
    CountingObserver observer;
    for (auto _ : state) {
        NetResult r = NetFetch(Direct(server.url("/big.html")), &observer);
        if (!r.ok()) state.SkipWithError("fetch failed");
        benchmark::DoNotOptimize(r.body.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_FetchPage)->Arg(4 << 10)->Arg(2 << 20)->Unit(benchmark::kMillisecond);

void BM_CacheStore(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "yomibon-cache-bench";
    CYbDownloadCache cache(folder);
    const std::string bytes(2 << 20, 'a');
    for (auto _ : state)
        benchmark::DoNotOptimize(cache.store("http://127.0.0.1/big.html", bytes));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_CacheStore)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace Yomibon

BENCHMARK_MAIN();
