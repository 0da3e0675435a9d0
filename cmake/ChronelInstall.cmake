# Installing Chronel as a desktop program, and its Debian package.
#
# The program folder <prefix>/lib/chronel holds the program file with everything it looks for beside
# itself: the help file and the help reader, the shipped language files and the example templates.
# <prefix>/bin/chronel is a relative link to it, so /proc/self/exe still names the program folder. The
# desktop entry, the AppStream metainfo and the icons go where desktops look for them.
#
# Run as a script (cmake -DBUILD_DIR=... -DWORK_DIR=... -P ChronelInstall.cmake), it installs the build into
# WORK_DIR and checks the tree: the test install_layout does that.

set(CHRONEL_APP_ID "com.orvane.chronel")
set(CHRONEL_PROGRAM_FOLDER "lib/chronel")

if(CMAKE_SCRIPT_MODE_FILE)
    file(REMOVE_RECURSE "${WORK_DIR}")
    execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${WORK_DIR}"
                    RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "installing failed: ${result}")
    endif()
    set(expected
        "${CHRONEL_PROGRAM_FOLDER}/chronel"
        "${CHRONEL_PROGRAM_FOLDER}/chronel-cli"
        "${CHRONEL_PROGRAM_FOLDER}/chronel-help-reader"
        "${CHRONEL_PROGRAM_FOLDER}/chronel-holiday-reader"
        "${CHRONEL_PROGRAM_FOLDER}/chronel.chm"
        "${CHRONEL_PROGRAM_FOLDER}/russian.lng"
        "${CHRONEL_PROGRAM_FOLDER}/Templates/Difference.trt"
        "share/applications/chronel.desktop"
        "share/metainfo/${CHRONEL_APP_ID}.metainfo.xml"
        "share/man/man1/chronel-cli.1"
        "share/bash-completion/completions/chronel-cli"
        ${EXTRA_FILES})
    foreach(file IN LISTS expected)
        if(NOT EXISTS "${WORK_DIR}/${file}")
            message(FATAL_ERROR "missing from the install tree: ${file}")
        endif()
    endforeach()
    # The release the metainfo names is the version the programs show.
    file(READ "${WORK_DIR}/share/metainfo/${CHRONEL_APP_ID}.metainfo.xml" metainfo)
    if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
        message(FATAL_ERROR "the metainfo's release is not the version ${VERSION}")
    endif()
    # The program writes english.lng itself; a copy left in the build tree must not ship.
    if(EXISTS "${WORK_DIR}/${CHRONEL_PROGRAM_FOLDER}/english.lng")
        message(FATAL_ERROR "english.lng was installed")
    endif()
    # Both programs find their language files beside themselves, through /proc/self/exe.
    foreach(name chronel chronel-cli)
        file(READ_SYMLINK "${WORK_DIR}/bin/${name}" target)
        if(NOT target STREQUAL "../${CHRONEL_PROGRAM_FOLDER}/${name}")
            message(FATAL_ERROR "bin/${name} links to '${target}', not relatively to the program folder")
        endif()
        file(REAL_PATH "${WORK_DIR}/bin/${name}" resolved)
        file(REAL_PATH "${WORK_DIR}/${CHRONEL_PROGRAM_FOLDER}/${name}" program)
        if(NOT resolved STREQUAL program)
            message(FATAL_ERROR "bin/${name} resolves to ${resolved}")
        endif()
    endforeach()
    file(REMOVE_RECURSE "${WORK_DIR}")
    return()
endif()

set(CHRONEL_DESKTOP_FILE "${CMAKE_SOURCE_DIR}/res/desktop/chronel.desktop")
# The metainfo's release is the project's version.
set(CHRONEL_METAINFO_FILE "${CMAKE_BINARY_DIR}/${CHRONEL_APP_ID}.metainfo.xml")
configure_file("${CMAKE_SOURCE_DIR}/res/desktop/${CHRONEL_APP_ID}.metainfo.xml.in" "${CHRONEL_METAINFO_FILE}" @ONLY)

install(TARGETS chronel chronel-cli chronel-help-reader chronel-holiday-reader RUNTIME DESTINATION "${CHRONEL_PROGRAM_FOLDER}")
install(FILES "${CMAKE_BINARY_DIR}/chronel.chm" ${CHRONEL_LANGUAGE_FILES} DESTINATION "${CHRONEL_PROGRAM_FOLDER}")
install(FILES ${CHRONEL_TEMPLATE_FILES} DESTINATION "${CHRONEL_PROGRAM_FOLDER}/Templates")

# A link made in the build tree is installed as a link.
file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/bin-link")
foreach(name chronel chronel-cli)
    file(CREATE_LINK "../${CHRONEL_PROGRAM_FOLDER}/${name}" "${CMAKE_CURRENT_BINARY_DIR}/bin-link/${name}" SYMBOLIC)
    install(FILES "${CMAKE_CURRENT_BINARY_DIR}/bin-link/${name}" DESTINATION bin)
endforeach()
# The command line's manual page and bash completion.
install(FILES "${CMAKE_SOURCE_DIR}/res/man/chronel-cli.1" DESTINATION share/man/man1)
install(FILES "${CMAKE_SOURCE_DIR}/res/completion/chronel-cli" DESTINATION share/bash-completion/completions)

install(FILES "${CHRONEL_DESKTOP_FILE}" DESTINATION share/applications)
install(FILES "${CHRONEL_METAINFO_FILE}" DESTINATION share/metainfo)

set(chronel_icon_files)
if(DEFINED CHRONEL_ICON_SVG)
    install(FILES "${CHRONEL_ICON_SVG}" DESTINATION share/icons/hicolor/scalable/apps RENAME chronel.svg)
    list(APPEND chronel_icon_files "share/icons/hicolor/scalable/apps/chronel.svg")
endif()
if(DEFINED CHRONEL_ICON_PNG_DIR)
    # Laid out as the hicolor theme is: <size>x<size>/apps/chronel.png.
    install(DIRECTORY "${CHRONEL_ICON_PNG_DIR}/" DESTINATION share/icons/hicolor)
    list(APPEND chronel_icon_files "share/icons/hicolor/48x48/apps/chronel.png")
endif()

# Checks of the installed files, run by ctest with the other tests.
find_program(DESKTOP_FILE_VALIDATE_PROGRAM desktop-file-validate)
if(DESKTOP_FILE_VALIDATE_PROGRAM)
    add_test(NAME desktop_entry_valid COMMAND "${DESKTOP_FILE_VALIDATE_PROGRAM}" "${CHRONEL_DESKTOP_FILE}")
endif()
find_program(APPSTREAMCLI_PROGRAM appstreamcli)
if(APPSTREAMCLI_PROGRAM)
    add_test(NAME metainfo_valid COMMAND "${APPSTREAMCLI_PROGRAM}" validate --no-net "${CHRONEL_METAINFO_FILE}")
endif()
add_test(NAME install_layout
         COMMAND "${CMAKE_COMMAND}" "-DBUILD_DIR=${CMAKE_BINARY_DIR}" "-DVERSION=${PROJECT_VERSION}"
                 "-DWORK_DIR=${CMAKE_CURRENT_BINARY_DIR}/install-layout-test"
                 "-DEXTRA_FILES=${chronel_icon_files}" -P "${CMAKE_CURRENT_LIST_FILE}")

# The Debian package: cpack --config CPackConfig.cmake, or the target "package". dpkg-shlibdeps (dpkg-dev)
# fills Depends from the libraries the program links (Qt, Qt SVG, chmlib).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chronel)
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR Orvane)
set(CPACK_PACKAGE_CONTACT "Orvane <support@orvane.com>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Orvane <support@orvane.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "date and time calculator")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Chronel tells how far apart two date-times are, which date-times lie a span before and after a start, "
    "what the calendar says about a day (weekday, week number, season, time zone rules, moon phase, zodiac "
    "sign), and it can set the system clock and restore it later. Results can be copied or saved as text, "
    "also through user-written templates. chronel-cli gives the same answers on the command line.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugin at run time, so no library link names it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# chronel_<version>_<architecture>.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
