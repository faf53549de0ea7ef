add_executable(test_message_dlg ${CMAKE_CURRENT_LIST_DIR}/local_message_dlg_test.cpp)
target_link_libraries(test_message_dlg PRIVATE nfp_message_dlg nfp_qt_gtest_main Qt6::Test GTest::gtest)
gtest_discover_tests(test_message_dlg PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                     DISCOVERY_TIMEOUT 30)
