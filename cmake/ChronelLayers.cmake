# One static library per layer, made of whole folders: a file belongs to the layer of the folder it lies
# in, and a new file joins that layer by being put there. Each library sees the headers of its own
# sources and of the libraries it links, and no others: its headers are linked into a folder of its own
# under the build tree, and that folder is its only include path for product headers. An include that
# runs against the arrows therefore fails to build. The libraries, their kinds and links are written to
# layers.txt, which scripts/check-layers reads as part of every build.

set(CHRONEL_LAYERS_FILE "${CMAKE_BINARY_DIR}/layers.txt")
file(WRITE "${CHRONEL_LAYERS_FILE}" "")
set_property(GLOBAL PROPERTY CHRONEL_LAYER_SOURCES "")

function(_chronel_record name kind links sources)
    list(FILTER links INCLUDE REGEX "^chronel_")
    list(JOIN links " " links)
    list(JOIN sources " " joined)
    file(APPEND "${CHRONEL_LAYERS_FILE}" "${name} ${kind}: ${links} | ${joined}\n")
    list(TRANSFORM sources PREPEND "${CMAKE_SOURCE_DIR}/")
    set_property(GLOBAL APPEND PROPERTY CHRONEL_LAYER_SOURCES ${sources})
endfunction()

# chronel_layer(NAME FOLDERS folder... [LINKS library...] [QT])
# Takes every .cpp and .h beneath the folders except a program's main.cpp.
function(chronel_layer name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "QT" "" "FOLDERS;LINKS")
    set(sources "")
    foreach(folder IN LISTS ARG_FOLDERS)
        file(GLOB_RECURSE found CONFIGURE_DEPENDS RELATIVE "${CMAKE_SOURCE_DIR}"
             "${CMAKE_SOURCE_DIR}/${folder}/*.cpp" "${CMAKE_SOURCE_DIR}/${folder}/*.h")
        list(FILTER found EXCLUDE REGEX "(^|/)main\\.cpp$")
        list(APPEND sources ${found})
    endforeach()
    list(SORT sources)
    add_library(${name} STATIC)
    set(root "${CMAKE_BINARY_DIR}/layers/${name}")
    file(REMOVE_RECURSE "${root}")
    foreach(source IN LISTS sources)
        target_sources(${name} PRIVATE "${CMAKE_SOURCE_DIR}/${source}")
        if(source MATCHES "\\.h$")
            get_filename_component(folder "${root}/${source}" DIRECTORY)
            file(MAKE_DIRECTORY "${folder}")
            file(CREATE_LINK "${CMAKE_SOURCE_DIR}/${source}" "${root}/${source}" SYMBOLIC)
        endif()
    endforeach()
    target_include_directories(${name} PUBLIC "${root}")
    target_link_libraries(${name} PUBLIC ${ARG_LINKS})
    if(ARG_QT)
        set(kind qt)
    else()
        set(kind pure)
        set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
        # The pure code is held to stricter warnings: a shadowed name or a silent sign change there is a
        # wrong date.
        target_compile_options(${name} PRIVATE -Wshadow -Wsign-conversion)
    endif()
    _chronel_record(${name} ${kind} "${ARG_LINKS}" "${sources}")
endfunction()

# chronel_program(NAME FOLDER folder LINKS library... [HEADERS_OF library...] [QT]): the program whose
# entry is FOLDER/main.cpp. HEADERS_OF gives it a layer's headers without linking that layer.
function(chronel_program name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "QT" "FOLDER" "LINKS;HEADERS_OF")
    add_executable(${name} "${CMAKE_SOURCE_DIR}/${ARG_FOLDER}/main.cpp")
    target_link_libraries(${name} PRIVATE ${ARG_LINKS})
    foreach(layer IN LISTS ARG_HEADERS_OF)
        target_include_directories(${name} PRIVATE $<TARGET_PROPERTY:${layer},INTERFACE_INCLUDE_DIRECTORIES>)
    endforeach()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
    if(ARG_QT)
        set(kind qt)
    else()
        set(kind pure)
        set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
    endif()
    _chronel_record(${name} ${kind} "${ARG_LINKS};${ARG_HEADERS_OF}" "${ARG_FOLDER}/main.cpp")
endfunction()

# Checks the layers on every build, before any program links: a file in no layer, a Qt include or type in
# a pure layer, or an include against the arrows fails the build.
function(chronel_check_layers)
    get_property(sources GLOBAL PROPERTY CHRONEL_LAYER_SOURCES)
    set(stamp "${CMAKE_BINARY_DIR}/layers.checked")
    add_custom_command(OUTPUT "${stamp}"
        COMMAND "${CMAKE_SOURCE_DIR}/scripts/check-layers" "${CHRONEL_LAYERS_FILE}" "${CMAKE_SOURCE_DIR}"
        COMMAND "${CMAKE_COMMAND}" -E touch "${stamp}"
        DEPENDS "${CMAKE_SOURCE_DIR}/scripts/check-layers" "${CHRONEL_LAYERS_FILE}" ${sources}
        COMMENT "Checking the layers" VERBATIM)
    add_custom_target(chronel_layers_checked ALL DEPENDS "${stamp}")
    foreach(target IN LISTS ARGN)
        add_dependencies(${target} chronel_layers_checked)
    endforeach()
endfunction()
