# Tests of the Windows build run under Wine on a virtual display, in two
# Wine sessions: a 64-bit prefix, where the 32-bit program runs as on 64-bit
# Windows (WoW64), and a 32-bit prefix (WINEARCH=win32), as many game
# installations under Wine are. A ctest fixture per prefix starts its
# session before the first of its tests and stops it after the last.
set(VARNEX_DISPLAY 97 CACHE STRING "Number of the virtual X display of the tests in the 64-bit Wine prefix")
set(VARNEX_DISPLAY32 98 CACHE STRING "Number of the virtual X display of the tests in the 32-bit Wine prefix")

# The environment of a test in the prefix of `bits` (64 or 32).
function(varnex_wine_env out bits)
  if(bits EQUAL 32)
    set(prefix wineprefix32)
    set(arch win32)
    set(display ${VARNEX_DISPLAY32})
    set(data xdg-data32)
  else()
    set(prefix wineprefix)
    set(arch win64)
    set(display ${VARNEX_DISPLAY})
    set(data xdg-data)
  endif()
  set(${out}
    "WINEPREFIX=${CMAKE_BINARY_DIR}/${prefix}"
    "WINEARCH=${arch}"
    "DISPLAY=:${display}"
    "XDG_DATA_HOME=${CMAKE_BINARY_DIR}/${data}"
    "WINEDEBUG=-all"
    "WINEDLLOVERRIDES=mscoree,mshtml="
    "VARNEX_BUILD_DIR=${CMAKE_BINARY_DIR}"
    PARENT_SCOPE)
endfunction()

if(NOT TARGET wine_session_guard)
  add_custom_target(wine_session_guard)
  foreach(bits IN ITEMS 64 32)
    if(bits EQUAL 32)
      set(session wine_session32)
      set(display ${VARNEX_DISPLAY32})
    else()
      set(session wine_session)
      set(display ${VARNEX_DISPLAY})
    endif()
    add_test(NAME ${session}_start
             COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session.sh start ${CMAKE_BINARY_DIR} ${display} ${bits})
    set_tests_properties(${session}_start PROPERTIES FIXTURES_SETUP ${session} TIMEOUT 180 LABELS prefix${bits})
    add_test(NAME ${session}_stop
             COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-session.sh stop ${CMAKE_BINARY_DIR} ${display} ${bits})
    set_tests_properties(${session}_stop PROPERTIES FIXTURES_CLEANUP ${session} LABELS prefix${bits})
  endforeach()
endif()

# A command that needs a Wine session, run in each prefix named (64 and/or
# 32; 64 when none is). The test in the 32-bit prefix is named with the
# suffix "_prefix32"; each carries the label prefix64 or prefix32.
#   varnex_wine_test(NAME name [PREFIXES 64 32] COMMAND command args...)
function(varnex_wine_test)
  cmake_parse_arguments(arg "" "NAME" "PREFIXES;COMMAND" ${ARGN})
  if(NOT arg_PREFIXES)
    set(arg_PREFIXES 64)
  endif()
  foreach(bits IN LISTS arg_PREFIXES)
    if(bits EQUAL 32)
      set(name ${arg_NAME}_prefix32)
      set(session wine_session32)
    else()
      set(name ${arg_NAME})
      set(session wine_session)
    endif()
    varnex_wine_env(environment ${bits})
    add_test(NAME ${name} COMMAND ${arg_COMMAND})
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED ${session} ENVIRONMENT "${environment}" TIMEOUT 300 LABELS prefix${bits})
  endforeach()
endfunction()

# A GoogleTest program of the Windows build, run as one test under Wine
# (listing its cases would start Wine before the session is up).
#   varnex_wine_gtest(target [PREFIXES 64 32])
function(varnex_wine_gtest target)
  varnex_wine_test(NAME ${target} ${ARGN} COMMAND ${target})
endfunction()
