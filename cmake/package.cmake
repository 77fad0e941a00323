# The Debian package (cpack -G DEB). Runtime dependencies come from the binaries through
# dpkg-shlibdeps; the default faces' font package and libcurl (loaded at run time) are named
# by hand. No maintainer scripts: the desktop, MIME, icon and manual-page caches are refreshed
# by the file triggers of the packages that own them (desktop-file-utils, shared-mime-info,
# hicolor-icon-theme, man-db).
set(YOMIBON_MAINTAINER "The Yomibon developers <yomibon@example.org>"
    CACHE STRING "The package's maintainer")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME yomibon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Yomibon developers")
set(CPACK_PACKAGE_CONTACT ${YOMIBON_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vertical reader for Japanese literature")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Yomibon sets texts in Aozora Bunko notation and the library's XHTML files the
way a printed book does: vertical columns read right to left on two facing
pages, with ruby, emphasis dots, side lines, indents, kinsoku line breaking,
tate-chu-yoko, notes, external characters and pictures. Texts open from files,
ZIP, LHA and 7z archives, the clipboard or the web.

The package holds the reader window (yomibon) and a command-line tool
(yomibon-cli) that parses, typesets and draws texts to PNG without a display.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${YOMIBON_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcurl is loaded at run time, so dpkg-shlibdeps cannot see it (7.85 brought the
# protocol list the fetcher sets).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-mincho, libcurl4 (>= 7.85.0)")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipaexfont-mincho, fonts-ipaexfont-gothic")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# cpack installs what yomibon_installable built instead of building the tests first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/deb_without_ldconfig.cmake)
include(CPack)
