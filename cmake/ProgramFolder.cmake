# The program reads its twelve button bitmaps from the folder that holds the executable: copy them
# beside it in the build tree, and install them beside it, so that both the built and the installed
# program find them.
function(orvel_place_button_bitmaps target)
    file(GLOB bitmaps CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*.bmp)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${bitmaps} $<TARGET_FILE_DIR:${target}>
        VERBATIM)
endfunction()
