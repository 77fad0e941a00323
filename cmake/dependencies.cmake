find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(ICU REQUIRED COMPONENTS uc i18n data)
find_package(Freetype REQUIRED)
find_package(Fontconfig REQUIRED)
find_package(PNG REQUIRED)
find_package(ZLIB REQUIRED)
find_package(JPEG REQUIRED)
find_package(GIF REQUIRED)
find_package(CURL REQUIRED)
# libcurl is loaded when the first address is fetched (platform/curl_library.cpp), not
# linked: the platform layer takes its headers only.
add_library(yb_curl_headers INTERFACE)
target_include_directories(yb_curl_headers
                           INTERFACE $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_INCLUDE_DIRECTORIES>)
find_package(LibArchive REQUIRED)
pkg_check_modules(HarfBuzz REQUIRED IMPORTED_TARGET harfbuzz)
# The vector page device: cairo's PDF surface over the FreeType faces (cairo-ft).
pkg_check_modules(Cairo REQUIRED IMPORTED_TARGET cairo cairo-pdf cairo-ft)
find_package(litehtml REQUIRED)
pkg_check_modules(WebP REQUIRED IMPORTED_TARGET libwebp)
