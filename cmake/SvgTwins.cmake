# SPDX-License-Identifier: GPL-3.0-or-later
# velmora_add_pictures(TARGET NAME PREFIX BASE FILES...): puts SVG pictures into the target's
# resources under PREFIX, named by their path below BASE. Where Qt's SVG module is missing, each
# picture's PNG twin ("name.svg.png", drawn by scripts/svg-twins) goes in beside it.
function(velmora_add_pictures target name prefix base)
    qt_add_resources(${target} ${name} PREFIX ${prefix} BASE ${base} FILES ${ARGN})
    if(VELMORA_SVG)
        return()
    endif()
    find_program(RSVG_CONVERT rsvg-convert REQUIRED)
    set(twin_dir ${CMAKE_CURRENT_BINARY_DIR}/${name}_twins)
    set(twins)
    foreach(svg ${ARGN})
        get_filename_component(absolute ${svg} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        get_filename_component(absolute_base ${base} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
        file(RELATIVE_PATH relative ${absolute_base} ${absolute})
        set(twin ${twin_dir}/${relative}.png)
        get_filename_component(twin_folder ${twin} DIRECTORY)
        add_custom_command(OUTPUT ${twin}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${twin_folder}
            COMMAND ${PROJECT_SOURCE_DIR}/scripts/svg-twins ${absolute} ${twin}
            DEPENDS ${absolute} ${PROJECT_SOURCE_DIR}/scripts/svg-twins
            VERBATIM)
        list(APPEND twins ${twin})
    endforeach()
    qt_add_resources(${target} ${name}_twins PREFIX ${prefix} BASE ${twin_dir} FILES ${twins})
endfunction()
