# Installing into any prefix: the program folder <prefix>/lib/yomibon holds the executables,
# plug-ins and data exactly as the build's bin folder does, so the program finds everything
# beside itself wherever the prefix is moved; <prefix>/bin has relative links to it.
set(YB_PROGRAM_DIR lib/yomibon)
set(YOMIBON_HOMEPAGE "https://yomibon.example.org/" CACHE STRING "The project's home page")
set(YOMIBON_SCREENSHOT_URL "${YOMIBON_HOMEPAGE}screenshot.png"
    CACHE STRING "Where the screenshot of docs/screenshot.png is published")
set(YOMIBON_APP_ID "org.example.yomibon"
    CACHE STRING "The software-centre identifier: the home page's domain reversed")
set(YOMIBON_LICENSE "LicenseRef-proprietary" CACHE STRING "SPDX expression of the licence")
set(yb_packaging ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS yomibon-cli RUNTIME DESTINATION ${YB_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${YB_PROGRAM_DIR})
install(FILES ${yb_packaging}/Yomibon.ini DESTINATION ${YB_PROGRAM_DIR})

set(yb_links ${CMAKE_BINARY_DIR}/install-links)
set(yb_link_programs yomibon-cli)
if(TARGET yomibon)
    install(TARGETS yomibon RUNTIME DESTINATION ${YB_PROGRAM_DIR})
    list(APPEND yb_link_programs yomibon)
endif()
foreach(program IN LISTS yb_link_programs)
    file(MAKE_DIRECTORY ${yb_links})
    file(CREATE_LINK ../${YB_PROGRAM_DIR}/${program} ${yb_links}/${program} SYMBOLIC)
    install(FILES ${yb_links}/${program} DESTINATION bin)
endforeach()

# What a desktop shows: the entry, the icon, the file types and the software-centre data.
if(TARGET yomibon)
    install(FILES ${yb_packaging}/yomibon.desktop DESTINATION share/applications)
    install(FILES ${yb_packaging}/yomibon-mime.xml DESTINATION share/mime/packages
            RENAME yomibon.xml)
    install(FILES ${yb_packaging}/icons/yomibon.svg
            DESTINATION share/icons/hicolor/scalable/apps)
    foreach(size 16 24 32 48 64 128 256)
        install(FILES ${yb_packaging}/icons/yomibon-${size}.png
                DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME yomibon.png)
    endforeach()
    configure_file(${yb_packaging}/yomibon.metainfo.xml.in
                   ${CMAKE_BINARY_DIR}/packaging/yomibon.metainfo.xml @ONLY)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/yomibon.metainfo.xml DESTINATION share/metainfo
            RENAME ${YOMIBON_APP_ID}.metainfo.xml)
endif()

# Manual pages, from scdoc sources, compressed as Debian keeps them.
find_program(YB_SCDOC scdoc)
find_program(YB_GZIP gzip)
if(YB_SCDOC AND YB_GZIP)
    set(yb_man_pages)
    foreach(page yomibon yomibon-cli)
        set(source ${yb_packaging}/man/${page}.1.scd)
        set(output ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
        add_custom_command(OUTPUT ${output}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
            COMMAND sh -c "\"$0\" <\"$1\" | \"$2\" -9n >\"$3\"" ${YB_SCDOC} ${source} ${YB_GZIP}
                    ${output}
            DEPENDS ${source} VERBATIM)
        list(APPEND yb_man_pages ${output})
    endforeach()
    add_custom_target(yomibon_man ALL DEPENDS ${yb_man_pages})
    install(FILES ${yb_man_pages} DESTINATION share/man/man1)
else()
    message(STATUS "scdoc not found: the manual pages are not built")
endif()

# The package's documents.
set(yb_changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_command(OUTPUT ${yb_changelog}
    COMMAND sh -c "\"$0\" -9n <\"$1\" >\"$2\"" gzip ${yb_packaging}/debian/changelog
            ${yb_changelog}
    DEPENDS ${yb_packaging}/debian/changelog VERBATIM)
add_custom_target(yomibon_changelog ALL DEPENDS ${yb_changelog})
install(FILES ${yb_packaging}/debian/copyright ${yb_changelog} DESTINATION share/doc/yomibon)
install(FILES ${yb_packaging}/debian/yomibon.lintian-overrides
        DESTINATION share/lintian/overrides RENAME yomibon)

# Everything the install rules copy, without the tests and benchmarks; the package and
# scripts/run build just this.
add_custom_target(yomibon_installable)
add_dependencies(yomibon_installable yomibon-cli yomibon_data yomibon_changelog webp_spi)
foreach(target yomibon yomibon_man)
    if(TARGET ${target})
        add_dependencies(yomibon_installable ${target})
    endif()
endforeach()
