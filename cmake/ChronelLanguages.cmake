# The shipped language files sit beside the program file, where the language table and the Options page
# look for them. Copied at configure time; a changed or added file triggers the copy again.
file(GLOB CHRONEL_LANGUAGE_FILES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/res/lang/*.lng")
foreach(language IN LISTS CHRONEL_LANGUAGE_FILES)
    get_filename_component(languageName "${language}" NAME)
    configure_file("${language}" "${CMAKE_BINARY_DIR}/${languageName}" COPYONLY)
endforeach()
