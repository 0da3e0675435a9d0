# Compiled HTML help files, built with chmcmd (Debian's fp-utils) from a folder of topic pages and its
# chronel.hhp project.
find_program(CHMCMD_PROGRAM chmcmd REQUIRED)

# chronel_compile_help(TARGET SOURCE_DIR OUTPUT_FILE)
function(chronel_compile_help target source_dir output)
    file(GLOB sources CONFIGURE_DEPENDS "${source_dir}/*")
    set(work "${CMAKE_CURRENT_BINARY_DIR}/${target}-src")
    add_custom_command(
        OUTPUT "${output}"
        COMMAND ${CMAKE_COMMAND} -E rm -rf "${work}"
        COMMAND ${CMAKE_COMMAND} -E copy_directory "${source_dir}" "${work}"
        COMMAND ${CMAKE_COMMAND} -E chdir "${work}" "${CHMCMD_PROGRAM}" --no-html-scan --verbosity 0 chronel.hhp
        COMMAND ${CMAKE_COMMAND} -E copy "${work}/chronel.chm" "${output}"
        DEPENDS ${sources}
        COMMENT "Compiling the help file ${output}"
        VERBATIM)
    add_custom_target(${target} ALL DEPENDS "${output}")
endfunction()
