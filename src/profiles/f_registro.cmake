# The profile dialog and the import dialog, apart from the plain profile
# code they build on.
add_library(nfp_profile_dialog STATIC
  ${CMAKE_CURRENT_LIST_DIR}/f_registro.cpp
  ${CMAKE_CURRENT_LIST_DIR}/f_importar.cpp
  ${CMAKE_CURRENT_LIST_DIR}/cnpj_check.cpp
)
target_include_directories(nfp_profile_dialog PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(nfp_profile_dialog PUBLIC nfp_profiles nfp_profile_list nfp_widgets nfp_message_dlg Qt6::Widgets)
