# Installs one program folder holding the executable and its bitmaps, a launcher in bin, a desktop
# entry and the icon, the manual page, the software-centre description and the package's licence
# and history. packaging/build-deb turns the installed tree into a Debian package.
include(GNUInstallDirs)

# Folders made on the way get the same modes whatever the umask of whoever installs: the program
# reads its bitmaps from its folder, which nobody but root may change.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The program reads its bitmaps from the folder that holds it, so both live in a folder of their
# own, <prefix>/lib/varnet-orvel (not the multiarch library folder: nothing here is a library).
# Whatever else the program loads from its own folder belongs in these two lists.
set(ORVEL_PROGRAM_DIR lib/varnet-orvel)
set(ORVEL_PROGRAM_FOLDER_TARGETS varnet-orvel)
# The spooler module, opened from the program's folder when a command first needs it.
if(TARGET orvel_cups_module)
    list(APPEND ORVEL_PROGRAM_FOLDER_TARGETS orvel_cups_module)
endif()
file(GLOB ORVEL_BITMAPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*.bmp)
list(LENGTH ORVEL_BITMAPS ORVEL_BITMAP_COUNT)
if(NOT ORVEL_BITMAP_COUNT EQUAL 12)
    message(FATAL_ERROR "assets/ holds ${ORVEL_BITMAP_COUNT} button bitmaps, the program needs 12")
endif()
set(ORVEL_PROGRAM_FOLDER_FILES ${ORVEL_BITMAPS})

install(TARGETS ${ORVEL_PROGRAM_FOLDER_TARGETS}
        RUNTIME DESTINATION ${ORVEL_PROGRAM_DIR}
        LIBRARY DESTINATION ${ORVEL_PROGRAM_DIR})
install(FILES ${ORVEL_PROGRAM_FOLDER_FILES} DESTINATION ${ORVEL_PROGRAM_DIR})

# A relative link, so that the installed tree can be moved (DESTDIR, a package) and still
# resolve. Made in the build tree and installed as it is: file(INSTALL) keeps links.
file(RELATIVE_PATH ORVEL_LINK_TARGET /${CMAKE_INSTALL_BINDIR} /${ORVEL_PROGRAM_DIR}/varnet-orvel)
set(ORVEL_LAUNCHER ${CMAKE_CURRENT_BINARY_DIR}/launcher/varnet-orvel)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/launcher)
file(CREATE_LINK ${ORVEL_LINK_TARGET} ${ORVEL_LAUNCHER} SYMBOLIC)
install(FILES ${ORVEL_LAUNCHER} DESTINATION ${CMAKE_INSTALL_BINDIR})

# Manual pages are installed as written; the package compresses them.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/varnet-orvel.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${PROJECT_SOURCE_DIR}/packaging/varnet-orvel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/example.varnet_printing.orvel.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

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

# The package's own documents, in the folder named after the package (not the project). The
# package compresses the changelog with the manual pages.
set(ORVEL_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/varnet-orvel)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_SOURCE_DIR}/packaging/changelog
        DESTINATION ${ORVEL_DOC_DIR})
