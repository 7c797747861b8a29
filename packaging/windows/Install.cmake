# On Windows the program is one folder: the executable with its twelve button bitmaps beside it,
# which it reads from its own folder, and (added by windeployqt after the install) the Qt DLLs
# and plugins it needs.
file(GLOB ORVEL_BITMAPS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*.bmp)
list(LENGTH ORVEL_BITMAPS ORVEL_BITMAP_COUNT)
if(NOT ORVEL_BITMAP_COUNT EQUAL 12)
    message(FATAL_ERROR "assets/ holds ${ORVEL_BITMAP_COUNT} button bitmaps, the program needs 12")
endif()

install(TARGETS varnet-orvel RUNTIME DESTINATION .)
install(FILES ${ORVEL_BITMAPS} DESTINATION .)
