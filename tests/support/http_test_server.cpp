#include "support/http_test_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace Yomibon::Test {
namespace {

const char* Reason(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 404:
            return "Not Found";
        default:
            return "Status";
    }
}

bool SendAll(int fd, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = ::send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += size_t(n);
    }
    return true;
}

// The path of a request target, absolute ("http://host/p") or not ("/p").
std::string PathOf(const std::string& target) {
    size_t scheme = target.find("://");
    if (scheme == std::string::npos) return target;
    size_t slash = target.find('/', scheme + 3);
    return slash == std::string::npos ? "/" : target.substr(slash);
}

}  // namespace

HttpTestServer::HttpTestServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0) throw std::runtime_error("socket");
    int one = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listener_, 16) != 0)
        throw std::runtime_error("bind/listen");
    socklen_t len = sizeof addr;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { acceptLoop(); });
}

HttpTestServer::~HttpTestServer() {
    stop_ = true;
    acceptor_.join();
    {
        std::lock_guard lock(mutex_);
        for (int fd : clients_)
            ::shutdown(fd, SHUT_RDWR);
    }
    for (std::thread& w : workers_)
        w.join();
    ::close(listener_);
}

void HttpTestServer::route(const std::string& path, Response response) {
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(response);
}

void HttpTestServer::redirect(const std::string& path, const std::string& location, int status) {
    Response r;
    r.status = status;
    r.headers.push_back({"Location", location});
    r.body = "moved";
    route(path, r);
}

std::string HttpTestServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> HttpTestServer::targets() const {
    std::lock_guard lock(mutex_);
    return targets_;
}

int HttpTestServer::hits(const std::string& path) const {
    std::lock_guard lock(mutex_);
    int n = 0;
    for (const std::string& t : targets_)
        n += PathOf(t) == path;
    return n;
}

void HttpTestServer::acceptLoop() {
    while (!stop_) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        int client = ::accept(listener_, nullptr, nullptr);
        if (client < 0) continue;
        std::lock_guard lock(mutex_);
        clients_.push_back(client);
        workers_.emplace_back([this, client] { serve(client); });
    }
}

HttpTestServer::Response HttpTestServer::answerFor(const std::string& target) {
    std::lock_guard lock(mutex_);
    targets_.push_back(target);
    auto it = routes_.find(PathOf(target));
    if (it != routes_.end()) return it->second;
    Response missing;
    missing.status = 404;
    missing.body = "<html><body>not found</body></html>";
    return missing;
}

void HttpTestServer::serve(int client) {
    std::string request;
    char buf[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        ssize_t n = ::recv(client, buf, sizeof buf, 0);
        if (n <= 0) break;
        request.append(buf, size_t(n));
    }
    size_t sp1 = request.find(' ');
    size_t sp2 = sp1 == std::string::npos ? sp1 : request.find(' ', sp1 + 1);
    if (sp2 != std::string::npos) {
        Response r = answerFor(request.substr(sp1 + 1, sp2 - sp1 - 1));
        if (r.neverAnswer) {
            // Silent until the client gives up or the server stops.
            while (!stop_ && ::recv(client, buf, sizeof buf, 0) > 0) {
            }
        } else {
            std::string head = "HTTP/1.1 " + std::to_string(r.status) + " " + Reason(r.status) +
                               "\r\nContent-Type: " + r.contentType +
                               "\r\nContent-Length: " + std::to_string(r.body.size()) +
                               "\r\nConnection: close\r\n";
            for (const auto& [name, value] : r.headers)
                head += name + ": " + value + "\r\n";
            SendAll(client, head + "\r\n" + r.body);
        }
    }
    ::shutdown(client, SHUT_WR);
    std::lock_guard lock(mutex_);
    std::erase(clients_, client);
    ::close(client);
}

}  // namespace Yomibon::Test
