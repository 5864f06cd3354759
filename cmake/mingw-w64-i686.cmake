# The product: a 32-bit Windows program. It runs on 32-bit and 64-bit
# Windows and in both kinds of Wine prefix, as the game does.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VARNEX_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
