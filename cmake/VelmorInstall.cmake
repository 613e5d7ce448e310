# Installation and the Debian package.
include(GNUInstallDirs)

# The tools go beside the editor, so the first-run set-up's question for recomp.exe has an answer
# in the same folder as velmor.
install(TARGETS velmor recomp decomp velmor-patch velmor-render velmor-course velmor-rom
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    BUNDLE DESTINATION .)
install(FILES dist/velmor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 32 256)
    install(FILES dist/icons/velmor-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME velmor.png)
endforeach()
install(FILES docs/man/velmor.1 docs/man/recomp.exe.1 docs/man/decomp.exe.1
    docs/man/velmor-patch.1
    docs/man/velmor-render.1
    docs/man/velmor-course.1
    docs/man/velmor-rom.1
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    set(CPACK_GENERATOR DEB)
else()
    set(CPACK_GENERATOR ZIP)
endif()
set(CPACK_PACKAGE_NAME velmor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Velmor developers <velmor@example.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Course editor for the SNES game Super Mario Kart")
set(CPACK_PACKAGE_DESCRIPTION
    "Paint a course map of 128 by 128 tiles, save it as a track file and put it into a ROM image of the game with the bundled recomp.exe, which compresses it optimally and never writes past a course's slot.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.invalid/velmor")
# The runtime libraries come from dpkg-shlibdeps (package dpkg-dev), so they match the Qt the
# package was built on. Debian's libqt6gui6 carries the xcb platform and JPEG plugins itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's texts are measured for faces of Arial's and Times New Roman's widths; Debian's
# Liberation faces have exactly those. cpack adds the libraries found above to this.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
include(CPack)
