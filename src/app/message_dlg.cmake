# The program's message dialog, its own library so every area can use it.
add_library(nfp_message_dlg STATIC
  ${CMAKE_CURRENT_LIST_DIR}/local_message_dlg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_dlg_layout.cpp
)
target_include_directories(nfp_message_dlg PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(nfp_message_dlg PUBLIC Qt6::Widgets)
