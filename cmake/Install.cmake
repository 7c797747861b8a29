# Installs one program folder holding the executable and its bitmaps, a launcher in bin, a desktop
# entry and the icon; CPack turns the same into a Debian package.
include(GNUInstallDirs)

# The program reads its bitmaps from the folder that holds it, so both live in a folder of their
# own, <prefix>/lib/varnet-orvel (not the multiarch library folder: nothing here is a library).
set(ORVEL_PROGRAM_DIR lib/varnet-orvel)
file(GLOB ORVEL_BITMAPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*.bmp)
list(LENGTH ORVEL_BITMAPS ORVEL_BITMAP_COUNT)
if(NOT ORVEL_BITMAP_COUNT EQUAL 12)
    message(FATAL_ERROR "assets/ holds ${ORVEL_BITMAP_COUNT} button bitmaps, the program needs 12")
endif()

install(TARGETS varnet-orvel RUNTIME DESTINATION ${ORVEL_PROGRAM_DIR})
install(FILES ${ORVEL_BITMAPS} DESTINATION ${ORVEL_PROGRAM_DIR})

# A relative link, so that the installed tree can be moved (DESTDIR, a package) and still
# resolve. Made in the build tree and installed as it is: file(INSTALL) keeps links.
file(RELATIVE_PATH ORVEL_LINK_TARGET /${CMAKE_INSTALL_BINDIR} /${ORVEL_PROGRAM_DIR}/varnet-orvel)
set(ORVEL_LAUNCHER ${CMAKE_CURRENT_BINARY_DIR}/launcher/varnet-orvel)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/launcher)
file(CREATE_LINK ${ORVEL_LINK_TARGET} ${ORVEL_LAUNCHER} SYMBOLIC)
install(FILES ${ORVEL_LAUNCHER} DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${PROJECT_SOURCE_DIR}/packaging/varnet-orvel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

# The icon in the hicolor theme at each size drawn for it: the window icon and its dense face,
# and two larger ones for menus and launchers.
set(ORVEL_ICONS
    16 printer_icon.png
    32 printer_icon@2x.png
    48 printer_icon_48.png
    256 printer_icon_256.png)
while(ORVEL_ICONS)
    list(POP_FRONT ORVEL_ICONS size file)
    install(FILES ${PROJECT_SOURCE_DIR}/ui/pictures/${file}
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME varnet-orvel.png)
endwhile()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnet-orvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnet Printing Systems Ltd.")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sets the permanent settings of the Varnet Orvel printer")
set(CPACK_PACKAGE_CONTACT "support@varnet-printing.example")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The runtime libraries (Qt 6 Widgets, libcups) are found from the executable itself; Qt's X11
# platform plugin comes with its GUI library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The jobs go to a CUPS scheduler, normally the local one; a remote one serves as well.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS cups-daemon)
include(CPack)
