# A 64-bit Windows build. Not the product, which is 32-bit
# (mingw-w64-i686.cmake) and runs on both kinds of Windows; kept for a
# 64-bit build by hand:
#   cmake -B build/x64 --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNEX_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
