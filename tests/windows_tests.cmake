# In-process window tests under Wine: real windows driven by real messages.
add_executable(quenda_win_tests
  main_window/app_test.cpp
  main_window/main_crt_test.cpp
  main_window/main_window_test.cpp
  main_window/table_storage_win_test.cpp
  url_entries/help_test.cpp
  support/win_test_support.cpp
  win/speed_button_test.cpp
  ${PROJECT_SOURCE_DIR}/src/resources/quenda.rc
)
target_include_directories(quenda_win_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quenda_win_tests PRIVATE quenda_win GTest::gtest_main)
target_link_options(quenda_win_tests PRIVATE -static)
add_test(NAME quenda_win_tests COMMAND quenda_win_tests)
