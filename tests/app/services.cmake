if(HYG_BUILD_GUI)
    # Under a German locale, to prove that start-up fixes the number format; HOME in the build tree so
    # that the user-data folder start-up creates stays there.
    set(_hyg_startup_home "${CMAKE_CURRENT_BINARY_DIR}/startup-home")
    hyg_add_qtest(hyg_startup_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/StartupTest.cpp
        LIBS hyg_app_services hyg_psychro
        ENV LC_ALL=de_DE.UTF-8 HOME=${_hyg_startup_home} XDG_CONFIG_HOME=${_hyg_startup_home}/.config)
    # Carries the version block for the about box.
    hyg_add_qtest(hyg_help_tests
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/HelpCommandsTest.cpp
        LIBS hyg_app_services)
    hyg_embed_version_info(hyg_help_tests)
endif()
