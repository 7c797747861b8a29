# The Qt parts the windows' views build on: picture loading, the program folder, the key codes
# and the key preview. The button faces, the hover rules and the shortcut tables they serve are
# the window core's.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(orvel_ui_parts STATIC
    ${CMAKE_CURRENT_LIST_DIR}/loading/PictureLoader.h
    ${CMAKE_CURRENT_LIST_DIR}/loading/EndWatchingBuffer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loading/QtPictureLoader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loading/ProgramFolder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input/KeyCodes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input/KeyPreview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input/KeyPreviewFilter.cpp
)
set_target_properties(orvel_ui_parts PROPERTIES AUTOMOC ON)
target_include_directories(orvel_ui_parts PUBLIC ${CMAKE_CURRENT_LIST_DIR}/../..)
target_link_libraries(orvel_ui_parts PUBLIC orvel_window_core Qt6::Widgets)
