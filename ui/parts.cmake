# The parts the windows build their picture buttons and key preview on: picture loading, the
# program folder, the button pictures, the hover state and the keyboard shortcuts.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(orvel_ui_parts STATIC
    ${CMAKE_CURRENT_LIST_DIR}/loading/PictureLoader.h
    ${CMAKE_CURRENT_LIST_DIR}/loading/EndWatchingBuffer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loading/QtPictureLoader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/loading/ProgramFolder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/buttons/ButtonPictures.cpp
    ${CMAKE_CURRENT_LIST_DIR}/buttons/HoverButtons.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input/KeyCodes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input/KeyPreview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/input/KeyPreviewFilter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/buttons/ShortcutTables.cpp
)
set_target_properties(orvel_ui_parts PROPERTIES AUTOMOC ON)
target_include_directories(orvel_ui_parts PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(orvel_ui_parts PUBLIC orvel_settings Qt6::Widgets)
