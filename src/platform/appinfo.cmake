# Program-wide folders and maker details (header only; start-up fills them).
add_library(hyg_appinfo INTERFACE)
target_include_directories(hyg_appinfo INTERFACE ${PROJECT_SOURCE_DIR}/src)
