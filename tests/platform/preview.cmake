if(HYG_BUILD_GUI)
    hyg_add_gtest(hyg_emf_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/EmfRoundTripTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/EmfMalformedTest.cpp
        LIBS hyg_emf hyg_uemf)
    hyg_add_qtest(hyg_preview_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrintPreviewTest.cpp
        LIBS hyg_preview)
endif()
