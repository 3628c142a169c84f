if(HYG_BUILD_GUI)
    # Formatted numeric edit, units label and units pop-up (Qt Widgets).
    add_library(hyg_units_widgets STATIC
        ${CMAKE_CURRENT_LIST_DIR}/TxFields.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TxFmtEdit.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TxUnitsForm.cpp)
    hyg_target_defaults(hyg_units_widgets)
    set_target_properties(hyg_units_widgets PROPERTIES AUTOMOC ON)
    target_include_directories(hyg_units_widgets PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_units_widgets PUBLIC hyg_units_core Qt6::Widgets)
endif()
