# In-process window tests under Wine: real windows driven by real messages.
add_executable(quenda_win_tests
  app/entry_test.cpp
  platform/capture_win_test.cpp
  platform/prompts_test.cpp
  platform/table_storage_win_test.cpp
  support/win_test_support.cpp
  ui/layout_builder_test.cpp
  ui/speed_button_test.cpp
  windows/dialog_keys_test.cpp
  windows/folder_chooser_test.cpp
  windows/url_editor_test.cpp
  windows/main_window_test.cpp
  windows/help_dialog_test.cpp
  windows/program_editor_test.cpp
  windows/icon_picker_test.cpp
  ${PROJECT_SOURCE_DIR}/src/resources/quenda.rc
)
target_include_directories(quenda_win_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(quenda_win_tests PRIVATE quenda_app GTest::gtest_main)
quenda_test_build(quenda_win_tests <windows.h>)
target_link_options(quenda_win_tests PRIVATE -static)
# One ctest entry per test, under Wine through the toolchain's emulator. Most show windows on
# the display, register the hot key, hold the single-instance mutex or look for other programs'
# windows: each takes a desktop of its own (a prefix with its own wineserver and display, see
# scripts/wine-env.sh) from the few in tests/wine_desktops.json, which the end-to-end runs share.
# The tests named here touch only data, files and windows of their own that never take the
# focus, and run beside anything in the stage's own prefix.
set(quenda_win_tests_alone
    "ApplicationTitle.*:ErrorBox.*:Cp932.*:Handles.*:Win32Clock.*:Win32TableStorage.*:LayoutAtDpi.*:SystemShell.*:SpeedButtonTest.*")
gtest_discover_tests(quenda_win_tests TEST_FILTER "${quenda_win_tests_alone}"
                     DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
gtest_discover_tests(quenda_win_tests TEST_FILTER "-${quenda_win_tests_alone}"
                     DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                     PROPERTIES RESOURCE_GROUPS desktop:1 TIMEOUT 300)

# A stand-in browser in a process of its own, started by the capture tests from beside them.
add_executable(fake_browser WIN32 platform/fake_browser.cpp)
target_compile_definitions(fake_browser PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(fake_browser PRIVATE comctl32 shell32 ole32 oleaut32 uuid oleacc user32)
target_link_options(fake_browser PRIVATE -static -municode)
set_target_properties(fake_browser PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
add_dependencies(quenda_win_tests fake_browser)

# Program files for the icon picker's tests: icons and no code, beside the tests.
foreach(icons 5 14 _sizes)
  add_library(test_icons${icons} SHARED windows/test_icons${icons}.rc)
  target_include_directories(test_icons${icons} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/windows)
  set_target_properties(test_icons${icons} PROPERTIES PREFIX "" LINKER_LANGUAGE CXX
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  target_link_options(test_icons${icons} PRIVATE -nostdlib -Wl,-e,0)
  add_dependencies(quenda_win_tests test_icons${icons})
endforeach()
# Icon files whose 32-pixel image is not the first, beside the tests.
foreach(icon icon_16_48_32 icon_256_16_32)
  configure_file(windows/${icon}.ico ${CMAKE_CURRENT_BINARY_DIR}/${icon}.ico COPYONLY)
endforeach()

# The icon tests again at a system DPI of 144, where the system's icon size is 48.
add_test(NAME quenda_win_tests_144dpi
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/support/at_system_dpi.sh 144
                 $<TARGET_FILE:quenda_win_tests> --gtest_filter=*32PixelImage*)
# Every Wine program started meanwhile in that prefix would see that DPI: it holds a desktop.
set_tests_properties(quenda_win_tests_144dpi PROPERTIES RESOURCE_GROUPS desktop:1 TIMEOUT 300)
