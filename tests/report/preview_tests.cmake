# The preview window (Qt, offscreen).
add_executable(test_report_preview ${CMAKE_CURRENT_LIST_DIR}/report_qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/f_previ_test.cpp)
target_link_libraries(test_report_preview PRIVATE nfp_report_preview nfp_report_pdf nfp_report_layouts Qt6::Test GTest::gtest)
gtest_discover_tests(test_report_preview PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)

# Everything the application links.
add_executable(test_report_platform ${CMAKE_CURRENT_LIST_DIR}/report_qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_platform_test.cpp)
target_link_libraries(test_report_platform PRIVATE nfp_report_platform GTest::gtest)
target_compile_definitions(test_report_platform PRIVATE QT_NO_KEYWORDS)
gtest_discover_tests(test_report_platform PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
