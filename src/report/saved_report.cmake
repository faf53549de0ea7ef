# Saved reports, printer data and plain-text files of the report engine,
# and loading a saved report back.
add_library(nfp_report_files STATIC
  ${CMAKE_CURRENT_LIST_DIR}/saved_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plain_text_report.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_file_saver.cpp
)
target_include_directories(nfp_report_files PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(nfp_report_files PUBLIC nfp_report nfp_util_files)
