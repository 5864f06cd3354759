# Tests of the Windows build run under Wine on a virtual display, in a Wine
# session per prefix: a 64-bit prefix, where the 32-bit program runs as on
# 64-bit Windows (WoW64), and a 32-bit prefix (WINEARCH=win32), as many game
# installations under Wine are. A ctest fixture per prefix starts its
# session before the first of its tests and stops it after the last.
#
# Whether this machine runs 32-bit programs is found out once, at configure,
# by tools/wine.sh. The build folder's launcher `wine` starts Wine the way it
# decided, and ctest runs every test program through it. Where 32-bit
# programs cannot run, each test of the 32-bit program is reported skipped
# with the reason, and a 64-bit build (preset win64) runs the same tests in a
# 64-bit prefix; a 64-bit program has no 32-bit prefix to run in.
set(VARNEX_DISPLAY 97 CACHE STRING "Number of the virtual X display of the tests in the 64-bit Wine prefix")
set(VARNEX_DISPLAY32 98 CACHE STRING "Number of the virtual X display of the tests in the 32-bit Wine prefix")
set(VARNEX_SCREEN_DISPLAY 96 CACHE STRING "Number of the virtual X display the screen-size tests use")

execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/wine.sh --decide
                OUTPUT_VARIABLE decision OUTPUT_STRIP_TRAILING_WHITESPACE)
if(decision STREQUAL "yes")
  set(runs_32bit yes)
  set(why "")
  set(VARNEX_NO_32BIT_LINE "")
else()
  set(runs_32bit no)
  string(REGEX REPLACE "^no: " "" why "${decision}")
  set(VARNEX_NO_32BIT_LINE "the 32-bit program cannot run under Wine here: ${why}")
endif()
string(REPLACE "'" "'\\''" quoted_why "${why}")
file(WRITE ${CMAKE_BINARY_DIR}/wine
  "#!/bin/sh\n"
  "# Wine as this build folder was configured to start it.\n"
  "export VARNEX_WINE_32BIT=${runs_32bit} VARNEX_WINE_WHY='${quoted_why}'\n"
  "exec '${PROJECT_SOURCE_DIR}/tools/wine.sh' \"$@\"\n")
file(CHMOD ${CMAKE_BINARY_DIR}/wine PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
     WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine)

# The prefixes this build's program runs in on this machine; none at all for
# the 32-bit program where 32-bit programs cannot run.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(VARNEX_WINE_PREFIXES 64)
elseif(runs_32bit)
  set(VARNEX_WINE_PREFIXES 64 32)
else()
  set(VARNEX_WINE_PREFIXES "")
  message(STATUS "Wine tests of the 32-bit program will be skipped: ${VARNEX_NO_32BIT_LINE}")
endif()

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

foreach(bits IN LISTS VARNEX_WINE_PREFIXES)
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

# A test that would run the 32-bit program on a machine that runs none:
# reported skipped, with the reason, never passed.
function(varnex_skipped_test name label)
  add_test(NAME ${name} COMMAND sh -c "echo \"$1\"; exit 77" skip "${VARNEX_NO_32BIT_LINE}")
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 LABELS "${label}")
endfunction()

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
    if(bits EQUAL 32 AND CMAKE_SIZEOF_VOID_P EQUAL 8)
      continue()
    elseif(NOT bits IN_LIST VARNEX_WINE_PREFIXES)
      varnex_skipped_test(${name} prefix${bits})
      continue()
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
