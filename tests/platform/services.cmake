if(HYG_BUILD_GUI)
    hyg_add_gtest(hyg_ini_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/IniFilesTest.cpp
        LIBS hyg_services)
    hyg_add_gtest(hyg_settings_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsStoreTest.cpp
        LIBS hyg_services)
    # Carries the program's version block, so that it can read itself.
    hyg_add_gtest(hyg_verinfo_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/VerInfoResTest.cpp
        LIBS hyg_services)
    hyg_embed_version_info(hyg_verinfo_tests)
    hyg_add_qtest(hyg_placement_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/FormPlacementTest.cpp
        LIBS hyg_services Qt6::Widgets)
endif()
