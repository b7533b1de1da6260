# Every folder of the program is a layer with its own target. Its headers are included as
# "<folder>/<name>.h", and only a target that links the layer finds them: the layer puts a folder
# holding nothing but a link to itself on its PUBLIC include path, so the path reaches exactly
# the targets that link it. An include of a layer a target does not link fails to compile.

# vellumo_layer(<target> <folder>): makes <folder>'s headers reachable through <target>.
function(vellumo_layer target folder)
    set(root ${PROJECT_BINARY_DIR}/layers/${folder})
    if(NOT IS_SYMLINK ${root}/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC ${root})
endfunction()
