# The Win32 program: a library of windows (so in-process tests can link them) and Quenda.exe.
enable_language(RC)

add_library(quenda_win STATIC
  src/main_window/app.cpp
  src/main_window/entry.cpp
  src/main_window/file_dialog.cpp
  src/main_window/forms.cpp
  src/main_window/main_crt.cpp
  src/main_window/shell.cpp
  src/program_entries/shell_file_icon.cpp
  src/resources/help_layout.cpp
  src/resources/folder_form_layout.cpp
  src/resources/icon_get_form_layout.cpp
  src/resources/main_crt_layout.cpp
  src/resources/prg_edit_layout.cpp
  src/resources/url_edit_layout.cpp
  src/program_entries/folder_form.cpp
  src/program_entries/icon_get_form.cpp
  src/program_entries/prg_edit.cpp
  src/program_entries/program_icon.cpp
  src/slot_table/clock_win.cpp
  src/slot_table/full_text_win.cpp
  src/slot_table/table_storage_win.cpp
  src/url_entries/accessible_address.cpp
  src/url_entries/capture_win.cpp
  src/url_entries/help.cpp
  src/url_entries/url_edit.cpp
  src/win/cp932.cpp
  src/win/dpi.cpp
  src/win/font.cpp
  src/win/speed_button.cpp
  src/win/icon_bitmap.cpp
  src/win/layout_builder.cpp
  src/win/panel.cpp
  src/win/window.cpp
)
target_compile_definitions(quenda_win PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(quenda_win PUBLIC quenda_core comctl32 shell32 ole32 oleaut32 uuid oleacc comdlg32
                      gdi32 user32)

if(MINGW)
  # One self-contained .exe: no MinGW runtime DLLs beside it.
  set(QUENDA_STATIC_LINK -static -static-libgcc -static-libstdc++)
endif()

add_executable(Quenda WIN32 src/main_window/main.cpp src/resources/quenda.rc)
target_link_libraries(Quenda PRIVATE quenda_win)
target_link_options(Quenda PRIVATE ${QUENDA_STATIC_LINK} $<$<BOOL:${MINGW}>:-municode>)
set_target_properties(Quenda PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
