// A small HTTP/1.1 server on 127.0.0.1 for tests: fixed answers per path, one thread per
// connection, stopped and joined by its destructor. It also answers proxy-style requests
// ("GET http://host/path"), recording the request target as sent.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace Yomibon::Test {

class HttpTestServer {
  public:
    struct Response {
        int status = 200;
        std::string contentType = "text/html";
        std::string body;
        std::vector<std::pair<std::string, std::string>> headers;
        bool neverAnswer = false;  // hold the connection open without a word
    };

    HttpTestServer();
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    // Answers requests for a path ("/a/b.html", query included when sent with one).
    void route(const std::string& path, Response response);
    // A redirect to `location` with the status given.
    void redirect(const std::string& path, const std::string& location, int status = 302);
    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(const std::string& path) const;
    // Request targets as they arrived, in order.
    std::vector<std::string> targets() const;
    int hits(const std::string& path) const;

  private:
    void acceptLoop();
    void serve(int client);
    Response answerFor(const std::string& target);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Response> routes_;
    std::vector<std::string> targets_;
    std::vector<int> clients_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

}  // namespace Yomibon::Test
