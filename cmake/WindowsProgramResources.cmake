# The Windows program's icon (assets/icons/sudoku.ico, painted by the painter) and
# its manifest, compiled by windres into an object linked straight into the program.
set(SUDOKU_WINDOWS_ICON ${PROJECT_SOURCE_DIR}/assets/icons/sudoku.ico)
set(SUDOKU_WINDOWS_MANIFEST ${PROJECT_BINARY_DIR}/generated/sudoku.manifest)
configure_file(${PROJECT_SOURCE_DIR}/shell/windows/sudoku.manifest.in ${SUDOKU_WINDOWS_MANIFEST} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/shell/windows/sudoku.rc.in ${PROJECT_BINARY_DIR}/generated/sudoku.rc @ONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/generated/sudoku.res.obj
  COMMAND ${CMAKE_RC_COMPILER} -O coff
          -i ${PROJECT_BINARY_DIR}/generated/sudoku.rc
          -o ${PROJECT_BINARY_DIR}/generated/sudoku.res.obj
  DEPENDS ${PROJECT_BINARY_DIR}/generated/sudoku.rc ${SUDOKU_WINDOWS_MANIFEST} ${SUDOKU_WINDOWS_ICON}
  COMMENT "Compiling the program's icon and manifest"
  VERBATIM)

include(${CMAKE_CURRENT_LIST_DIR}/WindowsSigning.cmake)

# Makes `target` a Windows program: no console window, the icon, the manifest,
# signed when a certificate is given.
function(sudoku_make_windows_program target)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  target_sources(${target} PRIVATE ${PROJECT_BINARY_DIR}/generated/sudoku.res.obj)
  sudoku_sign_windows_program(${target})
endfunction()
