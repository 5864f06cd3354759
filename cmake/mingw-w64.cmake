# What both Windows toolchains share: Debian's mingw-w64 compilers for
# `VARNEX_MINGW_TRIPLET` (POSIX threads), linked statically so the program
# needs only system DLLs. How ctest runs them under Wine is the build
# folder's own decision (WineTests.cmake).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VARNEX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNEX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNEX_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${VARNEX_MINGW_TRIPLET}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${VARNEX_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
