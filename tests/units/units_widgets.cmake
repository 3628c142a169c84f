if(HYG_BUILD_GUI)
    hyg_add_qtest(units_fmtedit_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/TxFmtEditTest.cpp
                  LIBS hyg_units_widgets)
    hyg_add_qtest(units_unitsform_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/TxUnitsFormTest.cpp
                  LIBS hyg_units_widgets)
    # Typed numbers must read the same whatever the user's decimal separator.
    add_test(NAME units_fmtedit_test_de_DE COMMAND units_fmtedit_test)
    set_tests_properties(units_fmtedit_test_de_DE PROPERTIES
                         ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=de_DE.UTF-8")
endif()
