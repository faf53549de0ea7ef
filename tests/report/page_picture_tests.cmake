# The page picture and graphic printing (Qt, offscreen, PDF printers).
add_executable(test_report_picture ${CMAKE_CURRENT_LIST_DIR}/report_qt_test_main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/page_picture_test.cpp)
target_link_libraries(test_report_picture PRIVATE nfp_report_qt nfp_report_layouts GTest::gtest)
gtest_discover_tests(test_report_picture PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
# The report as a PDF document, under a QGuiApplication alone (no widgets).
add_executable(test_report_pdf ${CMAKE_CURRENT_LIST_DIR}/pdf_report_test.cpp)
target_link_libraries(test_report_pdf PRIVATE nfp_report_pdf nfp_report_files nfp_report_layouts GTest::gtest)
gtest_discover_tests(test_report_pdf PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 60)
