add_executable(test_report_windows
  ${CMAKE_CURRENT_LIST_DIR}/report_qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/setup_key_filters_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/f_setup_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/f_progr_test.cpp
)
target_link_libraries(test_report_windows PRIVATE nfp_report_windows nfp_report_print Qt6::Test
                      GTest::gtest)
target_compile_definitions(test_report_windows PRIVATE QT_NO_KEYWORDS)
gtest_discover_tests(test_report_windows PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                     DISCOVERY_TIMEOUT 60)
