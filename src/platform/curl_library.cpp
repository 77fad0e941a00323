#include "platform/curl_library.h"

#include <dlfcn.h>

#include <mutex>

namespace Yomibon {
namespace {

// The soname of libcurl's ABI, unchanged since 2006.
constexpr const char* kCurlSoname = "libcurl.so.4";

template <typename Fn>
bool Bind(void* handle, const char* name, Fn& fn, std::string& why) {
    fn = reinterpret_cast<Fn>(dlsym(handle, name));
    if (!fn) why = std::string(kCurlSoname) + ": " + name + " is missing";
    return fn != nullptr;
}

bool BindAll(void* handle, CYbCurlLibrary& lib, std::string& why) {
    return Bind(handle, "curl_global_init", lib.globalInit, why) &&
           Bind(handle, "curl_easy_init", lib.easyInit, why) &&
           Bind(handle, "curl_easy_cleanup", lib.easyCleanup, why) &&
           Bind(handle, "curl_easy_reset", lib.easyReset, why) &&
           Bind(handle, "curl_easy_setopt", lib.easySetopt, why) &&
           Bind(handle, "curl_easy_getinfo", lib.easyGetinfo, why) &&
           Bind(handle, "curl_easy_strerror", lib.easyStrerror, why) &&
           Bind(handle, "curl_multi_init", lib.multiInit, why) &&
           Bind(handle, "curl_multi_cleanup", lib.multiCleanup, why) &&
           Bind(handle, "curl_multi_add_handle", lib.multiAddHandle, why) &&
           Bind(handle, "curl_multi_remove_handle", lib.multiRemoveHandle, why) &&
           Bind(handle, "curl_multi_perform", lib.multiPerform, why) &&
           Bind(handle, "curl_multi_info_read", lib.multiInfoRead, why) &&
           Bind(handle, "curl_multi_poll", lib.multiPoll, why) &&
           Bind(handle, "curl_multi_wakeup", lib.multiWakeup, why);
}

struct Loaded {
    CYbCurlLibrary lib;
    bool ok = false;
    std::string why;
};

Loaded Load() {
    Loaded loaded;
    // Never unloaded: libcurl's global state lives until the process ends.
    void* handle = dlopen(kCurlSoname, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        loaded.why = error ? error : kCurlSoname;
        return loaded;
    }
    if (!BindAll(handle, loaded.lib, loaded.why)) return loaded;
    CURLcode code = loaded.lib.globalInit(CURL_GLOBAL_DEFAULT);
    if (code != CURLE_OK) {
        loaded.why = std::string("curl_global_init: ") + loaded.lib.easyStrerror(code);
        return loaded;
    }
    loaded.ok = true;
    return loaded;
}

}  // namespace

const CYbCurlLibrary* CurlLibrary(std::string* why) {
    static const Loaded loaded = Load();
    if (!loaded.ok && why) *why = loaded.why;
    return loaded.ok ? &loaded.lib : nullptr;
}

}  // namespace Yomibon
