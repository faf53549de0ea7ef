# What the profile list and the login panel show (plain C++).
add_library(nfp_profile_list STATIC
  ${CMAKE_CURRENT_LIST_DIR}/profile_list.cpp
)
target_include_directories(nfp_profile_list PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(nfp_profile_list PUBLIC nfp_util)
