# Installation and packages: `cmake --install` puts the program, its desktop entry, icons and
# AppStream metainfo under the prefix; CPack makes a .deb of them (and, in the Windows build,
# a zip of the executable).
include(GNUInstallDirs)

set(app_id net.quillmere.ProxyListTool)
set(CPACK_PACKAGE_NAME proxy-list-tool)
set(CPACK_PACKAGE_VENDOR "Quillmere")
set(CPACK_PACKAGE_VERSION 1.0.0)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Fetch proxy addresses from a query service, edit them and save them as ip.txt")
set(CPACK_PACKAGE_CONTACT "Quillmere <proxy-list-tool@quillmere.net>")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)

if(NOT WIN32)
    set(linux_packaging ${PROJECT_SOURCE_DIR}/packaging/linux)
    install(TARGETS proxy-list-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${linux_packaging}/${app_id}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${linux_packaging}/${app_id}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    set(icon_folder ${PROJECT_SOURCE_DIR}/assets/icon)
    if(EXISTS ${icon_folder}/proxy-list-tool.svg)
        install(FILES ${icon_folder}/proxy-list-tool.svg
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    endif()
    foreach(size 16 24 32 48 64 128 256)
        if(EXISTS ${icon_folder}/proxy-list-tool-${size}.png)
            install(FILES ${icon_folder}/proxy-list-tool-${size}.png
                    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                    RENAME proxy-list-tool.png)
        endif()
    endforeach()

    set(CPACK_STRIP_FILES ON)
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION net)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Loaded with dlopen at the first fetch, so dpkg-shlibdeps cannot see it.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libcurl4")
    # Chinese captions need a CJK font on a fresh desktop.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk")
    # The summary above is the synopsis line; this is the extended description.
    set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
        "Set five filters (count, address prefix, port, region and carrier), press
the extract button, and the tool asks the proxy-list query service for
matching addresses and shows them one per line, ready to edit and to save
as ip.txt.")
endif()

if(WIN32)
    # A zip of the one executable and a short read-me. Building it twice gives the same bytes:
    # the executable has no link time stamp (and is linked without symbols, so no strip step
    # writes one in), and the zip's time fields are set to the release date afterwards.
    install(TARGETS proxy-list-tool RUNTIME DESTINATION .)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt DESTINATION .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME proxy-list-tool-${CPACK_PACKAGE_VERSION}-windows-x86_64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/normalize_zip.cmake)
endif()

include(CPack)
