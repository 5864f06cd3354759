# The oldest Windows varnex.exe is made for: Windows Vista (0x0600), 32- and
# 64-bit, and every later one. The Windows headers then declare nothing
# newer, functions of later systems are bound at run time, and the import
# check of tests/win32 holds the finished program to it.
set(VARNEX_OLDEST_WINDOWS Vista)
set(VARNEX_WIN32_WINNT 0x0600)
