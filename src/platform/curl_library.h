// libcurl's functions, loaded by the first fetch rather than with the program. libcurl and
// the TLS, Kerberos, LDAP and SSH libraries it needs are some thirty shared objects: linked
// at build time they doubled the dynamic loader's work at every start of the reader, for
// the sake of the few readings that fetch an address.
#pragma once

#include <curl/curl.h>

#include <string>

namespace Yomibon {

struct CYbCurlLibrary {
    decltype(&curl_global_init) globalInit = nullptr;
    decltype(&curl_easy_init) easyInit = nullptr;
    decltype(&curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&curl_easy_reset) easyReset = nullptr;
    decltype(&curl_easy_setopt) easySetopt = nullptr;
    decltype(&curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&curl_easy_strerror) easyStrerror = nullptr;
    decltype(&curl_multi_init) multiInit = nullptr;
    decltype(&curl_multi_cleanup) multiCleanup = nullptr;
    decltype(&curl_multi_add_handle) multiAddHandle = nullptr;
    decltype(&curl_multi_remove_handle) multiRemoveHandle = nullptr;
    decltype(&curl_multi_perform) multiPerform = nullptr;
    decltype(&curl_multi_info_read) multiInfoRead = nullptr;
    decltype(&curl_multi_poll) multiPoll = nullptr;
    decltype(&curl_multi_wakeup) multiWakeup = nullptr;
};

// The library, loaded and initialised once (curl_global_init) for the life of the process;
// null when it cannot be loaded, with the loader's reason in `why`.
const CYbCurlLibrary* CurlLibrary(std::string* why = nullptr);

}  // namespace Yomibon
