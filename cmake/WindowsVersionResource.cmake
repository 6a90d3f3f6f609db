# The executable's VERSIONINFO for the Windows build, compiled by windres into an
# object that is linked straight into the program (an archive member holding only
# a resource would be dropped by the linker).
configure_file(${PROJECT_SOURCE_DIR}/platform/version.rc.in ${PROJECT_BINARY_DIR}/generated/version.rc @ONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/generated/version.res.obj
  COMMAND ${CMAKE_RC_COMPILER} -O coff
          -i ${PROJECT_BINARY_DIR}/generated/version.rc
          -o ${PROJECT_BINARY_DIR}/generated/version.res.obj
  DEPENDS ${PROJECT_BINARY_DIR}/generated/version.rc
  COMMENT "Compiling the version resource"
  VERBATIM)
add_custom_target(sudoku_version_resource DEPENDS ${PROJECT_BINARY_DIR}/generated/version.res.obj)
