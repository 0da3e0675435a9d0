# The application icon: one hand-written SVG. It is embedded in chronel_widgets (ApplicationIcon renders it at run
# time) and rendered at build time to the PNG sizes of the desktop's hicolor icon theme.
find_package(Qt6 REQUIRED COMPONENTS Svg)
find_program(RSVG_CONVERT_PROGRAM rsvg-convert REQUIRED)

set(CHRONEL_ICON_SVG "${CMAKE_SOURCE_DIR}/res/icons/chronel.svg")
set(CHRONEL_ICON_PNG_DIR "${CMAKE_BINARY_DIR}/icons/hicolor")

target_link_libraries(chronel_widgets PRIVATE Qt6::Svg)
# AUTORCC compiles the collection into chronel_widgets; the library is static, so the code that reads the
# resource calls Q_INIT_RESOURCE(chronel_icons), which also keeps the object from being dropped at link time.
target_sources(chronel_widgets PRIVATE "${CMAKE_SOURCE_DIR}/res/icons/chronel_icons.qrc")

set(chronel_icon_pngs)
foreach(size 16 22 24 32 48 64 128 256)
    set(folder "${CHRONEL_ICON_PNG_DIR}/${size}x${size}/apps")
    add_custom_command(
        OUTPUT "${folder}/chronel.png"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
        COMMAND "${RSVG_CONVERT_PROGRAM}" --width ${size} --height ${size} --output "${folder}/chronel.png"
                "${CHRONEL_ICON_SVG}"
        DEPENDS "${CHRONEL_ICON_SVG}"
        COMMENT "Rendering the ${size}x${size} application icon"
        VERBATIM)
    list(APPEND chronel_icon_pngs "${folder}/chronel.png")
endforeach()
add_custom_target(chronel_icons ALL DEPENDS ${chronel_icon_pngs})
