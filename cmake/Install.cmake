# Installs one program folder holding the executable and its bitmaps, a launcher in bin, a desktop
# entry and the icon; CPack turns the same into a Debian package.
include(GNUInstallDirs)

set(ORVEL_PROGRAM_DIR ${CMAKE_INSTALL_LIBDIR}/varnet-orvel)
file(GLOB ORVEL_BITMAPS ${PROJECT_SOURCE_DIR}/assets/*.bmp)

install(TARGETS varnet-orvel RUNTIME DESTINATION ${ORVEL_PROGRAM_DIR})
install(FILES ${ORVEL_BITMAPS} DESTINATION ${ORVEL_PROGRAM_DIR})

# A relative link, so that the tree can be moved (DESTDIR, a package) and still resolve.
file(RELATIVE_PATH ORVEL_LINK_TARGET /${CMAKE_INSTALL_BINDIR} /${ORVEL_PROGRAM_DIR}/varnet-orvel)
install(CODE "
    file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(CREATE_LINK \"${ORVEL_LINK_TARGET}\"
         \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/varnet-orvel\" SYMBOLIC)
")

install(FILES ${PROJECT_SOURCE_DIR}/packaging/varnet-orvel.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 16 32 48 256)
    set(icon ${PROJECT_SOURCE_DIR}/ui/pictures/printer_icon_${size}.png)
    if(size EQUAL 16)
        set(icon ${PROJECT_SOURCE_DIR}/ui/pictures/printer_icon.png)
    elseif(size EQUAL 32)
        set(icon ${PROJECT_SOURCE_DIR}/ui/pictures/printer_icon@2x.png)
    endif()
    if(EXISTS ${icon})
        install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME varnet-orvel.png)
    endif()
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varnet-orvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Varnet Printing Systems Ltd.")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sets the permanent settings of the Varnet Orvel printer")
set(CPACK_PACKAGE_CONTACT "support@varnet-printing.example")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The runtime libraries (Qt 6 Widgets, libcups) are found from the executable itself.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
