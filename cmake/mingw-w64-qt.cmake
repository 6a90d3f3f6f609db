# Cross build of the game for 64-bit Windows, linked against the static Qt that
# scripts/windows-qt builds into a cache outside the clone: Qt's own toolchain
# file, which then loads the project's mingw-w64 toolchain (mingw-w64.cmake).
#
# The Qt folder: SUDOKU_WINDOWS_QT (cache or environment variable), otherwise the
# folder scripts/windows-qt builds for this checkout's recipe.
if(NOT SUDOKU_WINDOWS_QT AND DEFINED ENV{SUDOKU_WINDOWS_QT})
  set(SUDOKU_WINDOWS_QT "$ENV{SUDOKU_WINDOWS_QT}")
endif()
if(NOT SUDOKU_WINDOWS_QT)
  execute_process(
    COMMAND ${CMAKE_CURRENT_LIST_DIR}/../scripts/windows-qt --print-path
    OUTPUT_VARIABLE SUDOKU_WINDOWS_QT OUTPUT_STRIP_TRAILING_WHITESPACE
    COMMAND_ERROR_IS_FATAL ANY)
endif()
if(NOT EXISTS "${SUDOKU_WINDOWS_QT}/.kalvora-sudoku-built")
  message(FATAL_ERROR "No finished Qt for Windows in ${SUDOKU_WINDOWS_QT}: run scripts/windows-qt first.")
endif()
set(SUDOKU_WINDOWS_QT "${SUDOKU_WINDOWS_QT}" CACHE PATH "The static Qt for Windows the game is linked against")

# Compiler checks run in projects of their own, which load this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SUDOKU_WINDOWS_QT)
# Always the project's toolchain: Qt's file otherwise names the one Qt was built
# with, which lived in a folder that is gone.
set(QT_CHAINLOAD_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake")
include("${SUDOKU_WINDOWS_QT}/lib/cmake/Qt6/qt.toolchain.cmake")
