# The Windows cross build's test set-up: GoogleTest built from source and one shared wineserver.

# Debian's libgtest-dev holds Linux libraries only; its sources come with it.
set(SUDOKU_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources for the cross build")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${SUDOKU_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
# GoogleTest defines GTest::gtest and GTest::gtest_main; the older names FindGTest also offers:
add_library(GTest::GTest ALIAS gtest)
add_library(GTest::Main ALIAS gtest_main)

# The Wine prefix lives in the build folder. One wineserver serves the whole test
# run: started (and the prefix created) before any test, stopped after the last,
# which makes it save the registry.
set(SUDOKU_WINE_RUN ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
set(SUDOKU_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
add_test(NAME wine_start COMMAND ${SUDOKU_WINE_RUN} ${SUDOKU_WINE_PREFIX} --start)
add_test(NAME wine_stop COMMAND ${SUDOKU_WINE_RUN} ${SUDOKU_WINE_PREFIX} --stop)
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)

include(GoogleTest)
# Every discovered test runs under the shared wineserver, and listing a program's
# tests under Wine can take long on a busy machine (the first run creates the prefix).
function(gtest_discover_tests target)
  _gtest_discover_tests(${target} ${ARGN} DISCOVERY_TIMEOUT 300 PROPERTIES FIXTURES_REQUIRED wine)
endfunction()
