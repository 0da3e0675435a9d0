# One static library per layer. Each library sees the headers of its own sources and of the libraries it
# links, and no others: its headers are linked into a folder of its own under the build tree, and that
# folder is its only include path for product headers. An include that runs against the arrows therefore
# fails to build. The libraries and their links are written to layers.txt, which the layering test reads.

set(CHRONEL_LAYERS_FILE "${CMAKE_BINARY_DIR}/layers.txt")
file(WRITE "${CHRONEL_LAYERS_FILE}" "")

# chronel_layer(NAME SOURCES file... [LINKS library...] [QT])
function(chronel_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "QT" "" "SOURCES;LINKS")
    add_library(${name} STATIC)
    set(root "${CMAKE_BINARY_DIR}/layers/${name}")
    file(REMOVE_RECURSE "${root}")
    foreach(source IN LISTS ARG_SOURCES)
        target_sources(${name} PRIVATE "${CMAKE_SOURCE_DIR}/${source}")
        if(source MATCHES "\\.h$")
            get_filename_component(folder "${root}/${source}" DIRECTORY)
            file(MAKE_DIRECTORY "${folder}")
            file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${source}" "${root}/${source}" SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${name} PUBLIC "${root}")
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    if(NOT ARG_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
        # The pure code is held to stricter warnings: a shadowed name or a silent sign change there is a
        # wrong date.
        target_compile_options(${name} PRIVATE -Wshadow -Wsign-conversion)
    endif()
    list(FILTER ARG_LINKS INCLUDE REGEX "^chronel_")
    list(JOIN ARG_LINKS " " links)
    list(JOIN ARG_SOURCES " " sources)
    file(APPEND "${CHRONEL_LAYERS_FILE}" "${name}: ${links} | ${sources}\n")
endfunction()
