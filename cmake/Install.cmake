# What `cmake --install` puts under the prefix, and the Debian package CPack makes of it
# (tools/make-package). The interface, its images and the catalogues are compiled into the core
# library, so the program needs nothing beside itself but that library, which it finds through its
# run path relative to itself.
include(GNUInstallDirs)

set(GYRE_APP_ID net.gyreplayer.GyrePlayer)
set(_desktop ${PROJECT_SOURCE_DIR}/desktop)
# Private, under the architecture's folder where it has one: no other program links it, so the
# dynamic linker's cache (and ldconfig in the package's scripts) has no business with it.
if(CMAKE_LIBRARY_ARCHITECTURE)
    set(_private_libdir lib/${CMAKE_LIBRARY_ARCHITECTURE}/gyre-player)
else()
    set(_private_libdir ${CMAKE_INSTALL_LIBDIR}/gyre-player)
endif()

set_target_properties(gyre-player PROPERTIES INSTALL_RPATH "$ORIGIN/../${_private_libdir}")
install(TARGETS gyre-player RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS gyre-core LIBRARY DESTINATION ${_private_libdir} NAMELINK_SKIP)

install(FILES ${_desktop}/${GYRE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_desktop}/${GYRE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_desktop}/${GYRE_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME ${GYRE_APP_ID}.xml)
set(_docdir ${CMAKE_INSTALL_DATADIR}/doc/gyre-player)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${_desktop}/copyright DESTINATION ${_docdir})

# The change log and the manual page, compressed as Debian keeps them (no name or time stamp in the
# gzip header, so that two builds give the same package).
find_program(GYRE_GZIP gzip REQUIRED)
set(_changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
set(_manpage ${CMAKE_BINARY_DIR}/doc/gyre-player.1.gz)
add_custom_command(OUTPUT ${_changelog} ${_manpage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
    COMMAND ${GYRE_GZIP} -9nc ${_desktop}/changelog > ${_changelog}
    COMMAND ${GYRE_GZIP} -9nc ${_desktop}/gyre-player.1 > ${_manpage}
    DEPENDS ${_desktop}/changelog ${_desktop}/gyre-player.1 VERBATIM)
add_custom_target(gyre-docs ALL DEPENDS ${_changelog} ${_manpage})
install(FILES ${_changelog} DESTINATION ${_docdir})
install(FILES ${_manpage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The icon at every size the desktops ask for, rendered from its SVG at build time.
find_program(GYRE_RSVG_CONVERT rsvg-convert REQUIRED)
set(_icons "")
foreach(size 16 22 24 32 48 64 128 256 512)
    set(_png ${CMAKE_BINARY_DIR}/icons/${size}/${GYRE_APP_ID}.png)
    add_custom_command(OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}
        COMMAND ${GYRE_RSVG_CONVERT} --width=${size} --height=${size} --output=${_png} ${_desktop}/${GYRE_APP_ID}.svg
        DEPENDS ${_desktop}/${GYRE_APP_ID}.svg VERBATIM)
    list(APPEND _icons ${_png})
    install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(gyre-icons ALL DEPENDS ${_icons})
install(FILES ${_desktop}/${GYRE_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME gyre-player)
set(CPACK_PACKAGE_VENDOR Zelmo)
set(CPACK_PACKAGE_CONTACT "Zelmo <support@gyreplayer.net>")
set(CPACK_PACKAGE_HOMEPAGE_URL https://gyreplayer.net/)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "360° video and photo player")
# Debian shows the description as it stands: lines within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "Plays equirectangular 360° videos, photos and streams and lets you look
around by dragging, with the keyboard, the wheel, touch or an orientation
sensor; several players can follow one master over the network.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
# The libraries the program links come from dpkg-shlibdeps; it finds our own private one in the build.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/src)
# What no linker sees: the QML modules the interface imports, libvlc's decoders and output plugins,
# Qt Multimedia's GStreamer service for the second back end, the desktop's MIME and icon caches.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml-module-qtquick2, qml-module-qtquick-window2, qml-module-qtquick-layouts, qml-module-qtquick-controls, qml-module-qtquick-dialogs, qml-module-qtmultimedia, vlc-plugin-base, libqt5multimedia5-plugins")
# The CJK font shows the Chinese names in the language panel, which fall back to English without it.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qttranslations5-l10n, shared-mime-info, desktop-file-utils, hicolor-icon-theme, fonts-noto-cjk")
include(CPack)
