# The program reads its twelve button bitmaps from the folder that holds the executable: copy them
# beside it in the build tree, and install them beside it, so that both the built and the installed
# program find them.
function(orvel_place_button_bitmaps target)
    file(GLOB bitmaps CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*.bmp)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${bitmaps} $<TARGET_FILE_DIR:${target}>
        VERBATIM)
endfunction()

# The program opens the spooler module from its own folder when a command first needs it: the
# module is built into the program's folder in the build tree, as it is installed beside it.
function(orvel_place_spooler_module target)
    get_target_property(folder ${target} RUNTIME_OUTPUT_DIRECTORY)
    if(NOT folder)
        get_target_property(folder ${target} BINARY_DIR)
    endif()
    set_target_properties(orvel_cups_module PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${folder})
    add_dependencies(${target} orvel_cups_module)
endfunction()
