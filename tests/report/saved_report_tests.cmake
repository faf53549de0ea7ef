# Saved report format, report files on disk and loading them back.
add_executable(test_report_files
  ${CMAKE_CURRENT_LIST_DIR}/saved_report_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_file_saver_test.cpp
)
target_link_libraries(test_report_files PRIVATE nfp_report_files nfp_report_print GTest::gtest_main)
gtest_discover_tests(test_report_files DISCOVERY_TIMEOUT 60)

# With the engine's real progress window (offscreen).
add_executable(test_report_files_windows
  ${CMAKE_CURRENT_LIST_DIR}/report_qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_file_windows_test.cpp
)
target_link_libraries(test_report_files_windows PRIVATE nfp_report_files nfp_report_windows nfp_report_print
                      GTest::gtest)
target_compile_definitions(test_report_files_windows PRIVATE QT_NO_KEYWORDS)
gtest_discover_tests(test_report_files_windows PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                     DISCOVERY_TIMEOUT 60)
