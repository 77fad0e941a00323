// Which proxy an address goes through: the environment's variables, the user's own proxy
// with its bypass list, or none. A pure decision, apart from reading the environment.
#include <algorithm>
#include <cstdlib>

#include "platform/net.h"

namespace Yomibon {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::string Trim(std::string_view s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string_view::npos) return {};
    size_t e = s.find_last_not_of(" \t");
    return std::string(s.substr(b, e - b + 1));
}

std::string Getenv(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string FirstSet(const char* a, const char* b) {
    std::string v = Getenv(a);
    return v.empty() ? Getenv(b) : v;
}

// A host entry without its port and IPv6 brackets ("[::1]:8080" -> "::1").
std::string HostOfEntry(std::string_view entry) {
    std::string e = Lower(Trim(entry));
    if (!e.empty() && e[0] == '[') {
        size_t close = e.find(']');
        return close == std::string::npos ? e.substr(1) : e.substr(1, close - 1);
    }
    // One colon is a port; several are an IPv6 address.
    size_t colon = e.find(':');
    if (colon != std::string::npos && e.find(':', colon + 1) == std::string::npos) e.resize(colon);
    return e;
}

// The no_proxy convention: "*" matches all; "example.com" and ".example.com" match the
// domain and every name under it.
bool EnvBypasses(std::string_view host, std::string_view list) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of(", ", start);
        if (end == std::string_view::npos) end = list.size();
        std::string entry = HostOfEntry(list.substr(start, end - start));
        start = end + 1;
        if (entry.empty()) continue;
        if (entry == "*") return true;
        if (entry[0] == '.') entry.erase(0, 1);
        if (host == entry) return true;
        if (host.size() > entry.size() && host.ends_with(entry) &&
            host[host.size() - entry.size() - 1] == '.')
            return true;
    }
    return false;
}

// "*" in a bypass entry stands for any run of characters.
bool GlobMatch(std::string_view pattern, std::string_view text) {
    size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// The bypass list of the settings: entries separated by ";" (blanks and commas tolerated),
// "*" wildcards, and "<local>" for every name without a dot.
bool ListBypasses(std::string_view host, std::string_view list) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find_first_of(";, ", start);
        if (end == std::string_view::npos) end = list.size();
        std::string entry = Lower(Trim(list.substr(start, end - start)));
        start = end + 1;
        if (entry.empty()) continue;
        if (entry == "<local>") {
            if (host.find('.') == std::string_view::npos &&
                host.find(':') == std::string_view::npos)
                return true;
            continue;
        }
        if (entry.find('*') == std::string::npos) entry = HostOfEntry(entry);
        if (GlobMatch(entry, host)) return true;
    }
    return false;
}

}  // namespace

NetEnvironment NetEnvironment::FromProcess() {
    NetEnvironment env;
    // Only the lower-case http_proxy: a CGI environment sets HTTP_PROXY from a request header.
    env.httpProxy = Getenv("http_proxy");
    env.httpsProxy = FirstSet("https_proxy", "HTTPS_PROXY");
    env.allProxy = FirstSet("all_proxy", "ALL_PROXY");
    env.noProxy = FirstSet("no_proxy", "NO_PROXY");
    return env;
}

bool SplitNetUrl(std::string_view url, NetUrlParts& out) {
    size_t colon = url.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    std::string scheme = Lower(url.substr(0, colon));
    if (!std::all_of(scheme.begin(), scheme.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
        }))
        return false;
    out.scheme = scheme;
    out.host.clear();
    std::string_view rest = url.substr(colon + 1);
    if (!rest.starts_with("//")) return true;
    rest.remove_prefix(2);
    rest = rest.substr(0, rest.find_first_of("/?#"));
    size_t at = rest.rfind('@');
    if (at != std::string_view::npos) rest.remove_prefix(at + 1);
    out.host = HostOfEntry(rest);
    return true;
}

std::string ChooseProxy(const NetProxySettings& settings, const NetEnvironment& env,
                        std::string_view url) {
    NetUrlParts parts;
    if (!SplitNetUrl(url, parts) || (parts.scheme != "http" && parts.scheme != "https")) return {};
    if (settings.useSystem) {
        std::string proxy = parts.scheme == "https" ? env.httpsProxy : env.httpProxy;
        if (proxy.empty()) proxy = env.allProxy;
        proxy = Trim(proxy);
        if (proxy.empty() || EnvBypasses(parts.host, env.noProxy)) return {};
        return proxy;
    }
    if (!settings.useProxy) return {};
    std::string server = Trim(settings.server);
    if (server.empty() || ListBypasses(parts.host, settings.bypass)) return {};
    return server;
}

}  // namespace Yomibon
