if(HYG_BUILD_GUI)
    # libUEMF builds and safety-checks the EMF records of the preview pages (Debian ships no
    # pkg-config file for it).
    find_path(UEMF_INCLUDE_DIR uemf.h REQUIRED)
    find_library(UEMF_LIBRARY uemf REQUIRED)
    add_library(hyg_uemf INTERFACE)
    target_include_directories(hyg_uemf SYSTEM INTERFACE ${UEMF_INCLUDE_DIR})
    target_link_libraries(hyg_uemf INTERFACE ${UEMF_LIBRARY})

    # EMF pages: the recording canvas and the player.
    add_library(hyg_emf STATIC
        ${CMAKE_CURRENT_LIST_DIR}/EmfFont.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TEmfCanvas.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TEmfPlayer.cpp)
    hyg_target_defaults(hyg_emf)
    target_include_directories(hyg_emf PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_emf PUBLIC hyg_canvas Qt6::Gui PRIVATE hyg_uemf)

    # The print-preview page widget.
    add_library(hyg_preview STATIC
        ${CMAKE_CURRENT_LIST_DIR}/PreviewLayout.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TPrintPreview.h
        ${CMAKE_CURRENT_LIST_DIR}/TPrintPreview.cpp)
    hyg_target_defaults(hyg_preview)
    set_target_properties(hyg_preview PROPERTIES AUTOMOC ON)
    target_include_directories(hyg_preview PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_preview PUBLIC hyg_emf Qt6::Widgets)
endif()
