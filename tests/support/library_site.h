// The library's pages as a loopback server serves them to the net tests: an XHTML text with
// its style sheet and a picture, its card page, a plain-text edition, a redirect, a page
// that never answers, and 404 for everything else.
#pragma once

#include <string>

#include "support/http_test_server.h"

namespace Yomibon::Test {

struct LibrarySite {
    static constexpr const char* kXhtml = "/cards/000035/files/1567_14913.html";
    static constexpr const char* kCard = "/cards/000035/card1567.html";
    static constexpr const char* kText = "/cards/000035/files/1567.txt";
    static constexpr const char* kPicture = "/cards/000035/files/fig1567.png";
    static constexpr const char* kStyle = "/cards/aozora.css";
    static constexpr const char* kRedirect = "/old/melos.html";
    static constexpr const char* kSilent = "/silent.html";
    static constexpr const char* kMissing = "/cards/000035/files/none.html";

    // `picture`: the bytes served as the picture (at least 100 x 100 to be drawn).
    explicit LibrarySite(const std::string& picture);
    HttpTestServer server;
};

}  // namespace Yomibon::Test
