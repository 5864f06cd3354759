# Two builds of one commit give the same varnex.exe, byte for byte, whoever
# builds it, in whatever folder, at whatever time:
# - no folder of the machine ends up in a string of the program: the source
#   and the build folder are mapped to fixed names (the build folder, often
#   inside the source folder, comes last, so that its longer prefix wins);
# - the linker writes no time stamp into the header (the zip carries the
#   commit's time instead);
# - the program is stripped: its symbol table would only name the build.
# Only the Windows builds make a program anyone downloads.
if(NOT WIN32)
  return()
endif()
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=varnex -ffile-prefix-map=${PROJECT_BINARY_DIR}=varnex-build)

# The finished program, as it goes into the zip.
function(varnex_reproducible target)
  target_link_options(${target} PRIVATE -s -Wl,--no-insert-timestamp)
endfunction()
