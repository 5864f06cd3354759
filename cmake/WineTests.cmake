# Tests of the Windows build run under Wine on a virtual display, in one
# Wine session that a ctest fixture starts before the first of them and
# stops after the last.
set(VARNEX_DISPLAY 97 CACHE STRING "Number of the virtual X display the Windows tests use")
set(VARNEX_WINE_ENV
  "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix"
  "DISPLAY=:${VARNEX_DISPLAY}"
  "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/xdg-data"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "VARNEX_BUILD_DIR=${CMAKE_BINARY_DIR}")

if(NOT TARGET wine_session_guard)
  add_custom_target(wine_session_guard)
  add_test(NAME wine_session_start
           COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR} ${VARNEX_DISPLAY})
  set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 120)
  add_test(NAME wine_session_stop
           COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR} ${VARNEX_DISPLAY})
  set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session)
endif()

# A GoogleTest program of the Windows build, run as one test under Wine
# (listing its cases would start Wine before the session is up).
function(varnex_wine_gtest target)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES
    FIXTURES_REQUIRED wine_session ENVIRONMENT "${VARNEX_WINE_ENV}" TIMEOUT 300)
endfunction()

# Any other command that needs the Wine session (end-to-end tests).
function(varnex_wine_test name)
  add_test(NAME ${name} COMMAND ${ARGN})
  set_tests_properties(${name} PROPERTIES
    FIXTURES_REQUIRED wine_session ENVIRONMENT "${VARNEX_WINE_ENV}" TIMEOUT 300)
endfunction()
