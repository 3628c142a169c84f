# Program-wide services: settings store, INI files, window placement, version information.

# The program's version block, in its own ELF section. An object library, because nothing refers to
# the block by name and a static library member would be left out by the linker; every executable
# that answers version questions about itself links it directly (hyg_embed_version_info).
add_library(hyg_version_block OBJECT ${CMAKE_CURRENT_LIST_DIR}/VersionBlockData.cpp)
hyg_target_defaults(hyg_version_block)
target_include_directories(hyg_version_block PUBLIC ${PROJECT_SOURCE_DIR}/src)
set(_hyg_tweak ${PROJECT_VERSION_TWEAK})
if(_hyg_tweak STREQUAL "")
    set(_hyg_tweak 0)
endif()
target_compile_definitions(hyg_version_block PRIVATE
    HYG_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
    HYG_VERSION_MINOR=${PROJECT_VERSION_MINOR}
    HYG_VERSION_PATCH=${PROJECT_VERSION_PATCH}
    HYG_VERSION_TWEAK=${_hyg_tweak}
    HYG_VERSION_TEXT="${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${_hyg_tweak}")

# hyg_embed_version_info(target): puts the version block into an executable.
function(hyg_embed_version_info target)
    get_target_property(done ${target} HYG_VERSION_EMBEDDED)
    if(NOT done)
        target_link_libraries(${target} PRIVATE hyg_version_block)
        set_target_properties(${target} PROPERTIES HYG_VERSION_EMBEDDED ON)
    endif()
endfunction()

# hyg_common_files_dir(var): the build tree's shared folder of the maker's programs.
function(hyg_common_files_dir var)
    set(${var} "${CMAKE_BINARY_DIR}/Korvant/Common Files" PARENT_SCOPE)
endfunction()

# The maker's programs install into <prefix>/Korvant/; by default the prefix is /opt.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
    set(CMAKE_INSTALL_PREFIX "/opt" CACHE PATH "Install prefix; programs go to <prefix>/Korvant/<name>/" FORCE)
endif()

# hyg_install_layout(target [NO_INSTALL]): the maker's folder layout, in the build tree and installed,
# so that start-up finds the Korvant folder in the program's path and the shared files beside it:
#   <build>/Korvant/<name>/<name>        <prefix>/Korvant/<name>/<name>
#   <build>/Korvant/Common Files/...     <prefix>/Korvant/Common Files/...   (the files of data/)
# NO_INSTALL keeps a developer tool out of the installation. Also embeds the version block. Defined
# here rather than in src/app so that every folder can use it.
function(hyg_install_layout target)
    cmake_parse_arguments(ARG "NO_INSTALL" "" "" ${ARGN})
    get_target_property(name ${target} OUTPUT_NAME)
    if(NOT name)
        set(name ${target})
    endif()
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/Korvant/${name}")
    hyg_embed_version_info(${target})

    file(GLOB data_files LIST_DIRECTORIES false CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/data/*")
    list(FILTER data_files EXCLUDE REGEX "/(CMakeLists\\.txt|[^/]*\\.cmake|README[^/]*)$")
    if(NOT TARGET hyg_common_files)
        hyg_common_files_dir(common)
        set(outputs)
        foreach(file IN LISTS data_files)
            get_filename_component(leaf "${file}" NAME)
            add_custom_command(OUTPUT "${common}/${leaf}"
                COMMAND ${CMAKE_COMMAND} -E make_directory "${common}"
                COMMAND ${CMAKE_COMMAND} -E copy_if_different "${file}" "${common}/${leaf}"
                DEPENDS "${file}"
                COMMENT "Copying ${leaf} to Common Files"
                VERBATIM)
            list(APPEND outputs "${common}/${leaf}")
        endforeach()
        add_custom_target(hyg_common_files ALL DEPENDS ${outputs})
    endif()
    add_dependencies(${target} hyg_common_files)

    if(NOT ARG_NO_INSTALL)
        install(TARGETS ${target} RUNTIME DESTINATION "Korvant/${name}")
        get_property(installed GLOBAL PROPERTY HYG_COMMON_FILES_INSTALLED)
        if(NOT installed)
            install(FILES ${data_files} DESTINATION "Korvant/Common Files")
            set_property(GLOBAL PROPERTY HYG_COMMON_FILES_INSTALLED ON)
        endif()
    endif()
endfunction()

if(HYG_BUILD_GUI)
    add_library(hyg_services STATIC
        ${CMAKE_CURRENT_LIST_DIR}/ElfSection.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FormPlacement.cpp
        ${CMAKE_CURRENT_LIST_DIR}/IniFiles.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ProgramFile.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RegistryIniFile.cpp
        ${CMAKE_CURRENT_LIST_DIR}/VerInfoRes.cpp)
    hyg_target_defaults(hyg_services)
    target_include_directories(hyg_services PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hyg_services PUBLIC hyg_psychro hyg_appinfo Qt6::Core Qt6::Gui Qt6::Widgets)
endif()
