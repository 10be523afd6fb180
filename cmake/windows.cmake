# The Win32 program, one static library a layer (so in-process tests can link them), and
# Quenda.exe. Each layer links only the layers below it (see quenda_layer_include_root).
enable_language(RC)

# Every Win32 seam and the Windows half of the core: storage, clock, shell, file dialog, message
# boxes, the window provider for capture, CP932, handles and icons from files.
add_library(quenda_platform STATIC
  src/platform/accessibility_library.cpp
  src/platform/accessible_address.cpp
  src/platform/accessible_control.cpp
  src/platform/announcer.cpp
  src/platform/capture_win.cpp
  src/platform/clock_win.cpp
  src/platform/cp932.cpp
  src/platform/file_dialog.cpp
  src/platform/folder_watch.cpp
  src/platform/full_text_win.cpp
  src/platform/icon_bitmap.cpp
  src/platform/ini_file.cpp
  src/platform/prompts.cpp
  src/platform/shell.cpp
  src/platform/shell_file_icon.cpp
  src/platform/table_storage_win.cpp
)
quenda_layer_include_root(quenda_platform platform)
target_compile_definitions(quenda_platform PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
# No oleacc nor uiautomationcore: loaded from the system folder when first needed
# (accessibility_library.cpp, announcer.cpp).
target_link_libraries(quenda_platform PUBLIC quenda_core shell32 ole32 oleaut32 uuid comdlg32
                      gdi32 user32)

# The window toolkit: the window base, the layout builder and its row type, speed button,
# panel, fonts, DPI.
add_library(quenda_ui STATIC
  src/ui/dpi.cpp
  src/ui/font.cpp
  src/ui/layout_builder.cpp
  src/ui/panel.cpp
  src/ui/speed_button.cpp
  src/ui/window.cpp
)
quenda_layer_include_root(quenda_ui ui)
target_link_libraries(quenda_ui PUBLIC quenda_platform comctl32)

# The windows' layouts: data written as tables of layout rows. The resource script (icon,
# glyphs, manifest) is compiled into each program that shows windows.
# The build's settings (version, home page) as a header for the layouts and the resource script.
set(QUENDA_VERSION_WIDE "${PROJECT_VERSION}")
foreach(pair "0;０" "1;１" "2;２" "3;３" "4;４" "5;５" "6;６" "7;７" "8;８" "9;９" ".;．")
  list(GET pair 0 narrow)
  list(GET pair 1 wide)
  string(REPLACE "${narrow}" "${wide}" QUENDA_VERSION_WIDE "${QUENDA_VERSION_WIDE}")
endforeach()
set(QUENDA_VERSION_NUMBERS "")
foreach(part MAJOR MINOR PATCH TWEAK)
  set(n "${PROJECT_VERSION_${part}}")
  if(n STREQUAL "")
    set(n 0)
  endif()
  list(APPEND QUENDA_VERSION_NUMBERS "${n}")
endforeach()
string(REPLACE ";" "," QUENDA_VERSION_NUMBERS "${QUENDA_VERSION_NUMBERS}")
configure_file(src/resources/quenda_config.h.in "${CMAKE_BINARY_DIR}/generated/quenda_config.h"
               @ONLY)

add_library(quenda_resources STATIC
  src/resources/folder_chooser_layout.cpp
  src/resources/url_editor_layout.cpp
  src/resources/main_window_layout.cpp
  src/resources/help_dialog_layout.cpp
  src/resources/program_editor_layout.cpp
  src/resources/icon_picker_layout.cpp
  src/resources/backup_chooser_layout.cpp
)
quenda_layer_include_root(quenda_resources resources)
# The layouts are small and each names its rows kLayout: they stay files of their own.
set_target_properties(quenda_resources PROPERTIES UNITY_BUILD OFF)
target_include_directories(quenda_resources PUBLIC "${CMAKE_BINARY_DIR}/generated")
target_link_libraries(quenda_resources PUBLIC quenda_ui)

# One class a window.
add_library(quenda_windows STATIC
  src/windows/folder_chooser.cpp
  src/windows/url_editor.cpp
  src/windows/main_window.cpp
  src/windows/help_dialog.cpp
  src/windows/program_editor.cpp
  src/windows/icon_picker.cpp
  src/windows/program_icon.cpp
  src/windows/backup_chooser.cpp
)
quenda_layer_include_root(quenda_windows windows)
target_link_libraries(quenda_windows PUBLIC quenda_resources quenda_ui quenda_platform quenda_core)

# The windows created together, and the start of the program.
add_library(quenda_app STATIC
  src/app/entry.cpp
  src/app/forms.cpp
)
quenda_layer_include_root(quenda_app app)
target_link_libraries(quenda_app PUBLIC quenda_windows quenda_platform quenda_core)

if(MINGW)
  # One self-contained .exe: no MinGW runtime DLLs beside it. A Release build leaves out what no
  # call reaches and carries no symbols (the static runtime's debug information alone is 2 MB).
  set(QUENDA_STATIC_LINK -static -static-libgcc -static-libstdc++
      $<$<CONFIG:Release,MinSizeRel>:-Wl,--gc-sections>)
endif()

add_executable(Quenda WIN32 src/app/main.cpp src/resources/quenda.rc)
target_link_libraries(Quenda PRIVATE quenda_app)
target_link_options(Quenda PRIVATE ${QUENDA_STATIC_LINK} $<$<BOOL:${MINGW}>:-municode>)
set_target_properties(Quenda PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
if(MINGW)
  # The load configuration (DependentLoadFlags) is data the linker does not point the header at.
  find_program(QUENDA_PYTHON NAMES python3 REQUIRED)
  target_sources(Quenda PRIVATE src/app/load_config.cpp)
  # No code refers to it, so the unused-section sweep would take it out.
  target_link_options(Quenda PRIVATE -Wl,--undefined=_load_config_used)
  add_custom_command(TARGET Quenda POST_BUILD
                     COMMAND ${QUENDA_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/pe_hardening.py
                             link-load-config $<TARGET_FILE:Quenda> ${CMAKE_NM})
  # The symbols go once the step above has found its one.
  if(CMAKE_BUILD_TYPE MATCHES "^(Release|MinSizeRel)$")
    add_custom_command(TARGET Quenda POST_BUILD
                       COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE:Quenda>)
  endif()
endif()

include(cmake/package.cmake)
