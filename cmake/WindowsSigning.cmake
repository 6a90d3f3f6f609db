# Signing the Windows files (sudoku.exe, the installer and its uninstaller) with
# packaging/windows/sign.sh. The certificate is named when CMake configures, by
# the environment: SUDOKU_SIGN_CERT (a PKCS#12 file, or a certificate with
# SUDOKU_SIGN_KEY) and SUDOKU_SIGN_TIMESTAMP (the timestamp server, or "none");
# the password, SUDOKU_SIGN_PASSWORD, is read from the environment of the build
# and never stored. Without a certificate every file is built unsigned, and the
# configuration and the build say so.
include_guard(GLOBAL)
set(SUDOKU_SIGN_SCRIPT ${PROJECT_SOURCE_DIR}/packaging/windows/sign.sh)
set(SUDOKU_SIGN_ENVIRONMENT
  "SUDOKU_SIGN_CERT=$ENV{SUDOKU_SIGN_CERT}"
  "SUDOKU_SIGN_KEY=$ENV{SUDOKU_SIGN_KEY}"
  "SUDOKU_SIGN_TIMESTAMP=$ENV{SUDOKU_SIGN_TIMESTAMP}")
if(DEFINED ENV{SUDOKU_SIGN_CERT} AND NOT "$ENV{SUDOKU_SIGN_CERT}" STREQUAL "")
  find_program(SUDOKU_OSSLSIGNCODE osslsigncode REQUIRED)
  message(STATUS "Windows files are signed with $ENV{SUDOKU_SIGN_CERT}")
else()
  message(STATUS "Windows files are built unsigned: SUDOKU_SIGN_CERT names no certificate")
endif()

# Signs the target's file after every link (or says it stays unsigned).
function(sudoku_sign_windows_program target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env ${SUDOKU_SIGN_ENVIRONMENT} ${SUDOKU_SIGN_SCRIPT} $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
