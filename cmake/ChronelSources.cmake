# Which target a source file belongs to follows from its folder and name, so adding a file needs no
# edit here: Qt files are named *_page, *_dialog or *_widget (or live in platform/) and go to chronel_ui;
# everything else is pure code and goes to chronel_core, which has no Qt include path.

set(CHRONEL_QT_NAME_PATTERN "_(page|dialog|widget)(_test)?\\.cpp$")

function(chronel_add_product_folder folder)
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/${folder}/*.cpp")
    foreach(source IN LISTS sources)
        if(source MATCHES "/main\\.cpp$")
            continue()   # the executable's own thin main
        elseif(folder STREQUAL "platform" OR source MATCHES "${CHRONEL_QT_NAME_PATTERN}")
            target_sources(chronel_ui PRIVATE "${source}")
        else()
            target_sources(chronel_core PRIVATE "${source}")
        endif()
    endforeach()
endfunction()

function(chronel_add_test_folder folder)
    file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/tests/${folder}/*_test.cpp")
    foreach(source IN LISTS sources)
        if(folder STREQUAL "platform" OR source MATCHES "${CHRONEL_QT_NAME_PATTERN}")
            target_sources(chronel_ui_tests PRIVATE "${source}")
        else()
            target_sources(chronel_core_tests PRIVATE "${source}")
        endif()
    endforeach()
endfunction()
