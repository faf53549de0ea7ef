# The report engine's Qt windows: printer setup and progress.
add_library(nfp_report_windows STATIC
  ${CMAKE_CURRENT_LIST_DIR}/f_setup.cpp
  ${CMAKE_CURRENT_LIST_DIR}/f_progr.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_key_filters.cpp
)
target_include_directories(nfp_report_windows PUBLIC ${PROJECT_SOURCE_DIR}/src)
# nfp_report_qt: the engine's colours on screen.
target_link_libraries(nfp_report_windows PUBLIC nfp_report nfp_report_qt Qt6::Widgets Qt6::PrintSupport)
# The engine's headers use "slots" as a plain name.
target_compile_definitions(nfp_report_windows PRIVATE QT_NO_KEYWORDS)
