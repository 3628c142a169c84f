if(HYG_BUILD_GUI)
    # The main window driven through its controls and menu. Each test carries the version block for
    # the window's caption.
    foreach(test HygrovaDlgTest HygrovaFilesTest)
        string(REGEX REPLACE "Test$" "" stem ${test})
        string(TOLOWER ${stem} stem)
        set(name hyg_${stem}_tests)
        hyg_add_qtest(${name}
            SOURCES ${CMAKE_CURRENT_LIST_DIR}/${test}.cpp ${CMAKE_CURRENT_LIST_DIR}/AppTestSupport.h
            LIBS hyg_app)
        target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_LIST_DIR})
        hyg_embed_version_info(${name})
    endforeach()
endif()
