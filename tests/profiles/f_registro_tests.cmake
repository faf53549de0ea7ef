add_executable(test_profile_dialog
  ${CMAKE_CURRENT_LIST_DIR}/f_registro_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/f_importar_test.cpp
)
target_compile_definitions(test_profile_dialog PRIVATE NFP_PROFILES_TEST_DATA="${CMAKE_CURRENT_LIST_DIR}/data")
target_link_libraries(test_profile_dialog PRIVATE nfp_profile_dialog nfp_profiles_ini nfp_qt_gtest_main
                      Qt6::Test GTest::gtest)
gtest_discover_tests(test_profile_dialog PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
                     DISCOVERY_TIMEOUT 30)
