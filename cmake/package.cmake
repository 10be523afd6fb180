# The download: `--target package` zips Quenda.exe, the manual as one self-contained page, the
# licence and a short Japanese README.txt as Quenda-<version>-win64.zip. The manual page is also
# built beside Quenda.exe, where the help link finds it.
find_program(QUENDA_PYTHON NAMES python3 REQUIRED)
file(GLOB quenda_manual_pictures CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/docs/manual/*.png")
set(quenda_manual "${CMAKE_BINARY_DIR}/Quenda-manual.html")
add_custom_command(
  OUTPUT "${quenda_manual}"
  COMMAND ${QUENDA_PYTHON} "${PROJECT_SOURCE_DIR}/packaging/embed_images.py"
          "${PROJECT_SOURCE_DIR}/docs/manual/index.html" "${quenda_manual}"
  DEPENDS "${PROJECT_SOURCE_DIR}/docs/manual/index.html" ${quenda_manual_pictures}
          "${PROJECT_SOURCE_DIR}/packaging/embed_images.py"
  COMMENT "The manual as one page")
add_custom_target(quenda_manual ALL DEPENDS "${quenda_manual}")

install(TARGETS Quenda RUNTIME DESTINATION .)
install(FILES "${quenda_manual}" "${PROJECT_SOURCE_DIR}/LICENSE"
              "${PROJECT_SOURCE_DIR}/packaging/README.txt" DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "Quenda-${PROJECT_VERSION}-win64")
# Windows' "Extract all" makes the folder itself.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
