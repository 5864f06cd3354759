# The zips a player downloads: varnex.exe, README.txt and LICENSE.txt, made by
# tools/release-zip.sh the same way in every build, so that the zip the tests
# unpack and the zip of a release are one and the same file.
#
# In a Windows build: the target `release_zip`, part of the build, writes the
# zip of this build's varnex.exe into VARNEX_RELEASE_DIR.
#
# With VARNEX_RELEASE (the preset `release`): this folder configures and
# builds the 32-bit and the 64-bit program in folders of its own, without
# tests, zips each into build/release and writes SHA256SUMS beside them.
set(VARNEX_RELEASE_DIR ${CMAKE_BINARY_DIR}/release CACHE PATH "Folder the release zips are written to")

if(NOT VARNEX_RELEASE)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(arch win32)
  else()
    set(arch win64)
  endif()
  add_custom_target(release_zip ALL
    COMMAND bash ${PROJECT_SOURCE_DIR}/tools/release-zip.sh ${arch} $<TARGET_FILE:varnex> ${VARNEX_RELEASE_DIR}
            ${PROJECT_VERSION}
    COMMENT "The release zip of the ${arch} varnex.exe"
    VERBATIM)
  add_dependencies(release_zip varnex)
  return()
endif()

# The Debian packages both builds need: installed when run as root, as the
# other commands do, else named.
execute_process(COMMAND bash -c ". tools/packages.sh && varnex_need_packages \"\${VARNEX_RELEASE_PACKAGES[@]}\""
                WORKING_DIRECTORY ${PROJECT_SOURCE_DIR} RESULT_VARIABLE missing)
if(missing)
  message(FATAL_ERROR "The release needs the Debian packages named above")
endif()
cmake_host_system_information(RESULT jobs QUERY NUMBER_OF_LOGICAL_CORES)
set(previous "")
foreach(arch IN ITEMS win32 win64)
  if(arch STREQUAL win32)
    set(toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-w64-i686.cmake)
  else()
    set(toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake)
  endif()
  set(folder ${CMAKE_BINARY_DIR}/${arch})
  add_custom_target(release_${arch} ALL
    COMMAND ${CMAKE_COMMAND} -S ${PROJECT_SOURCE_DIR} -B ${folder} -DCMAKE_TOOLCHAIN_FILE=${toolchain}
            -DCMAKE_BUILD_TYPE=Release -DVARNEX_TESTS=OFF -DVARNEX_RELEASE_DIR=${VARNEX_RELEASE_DIR}
    COMMAND ${CMAKE_COMMAND} --build ${folder} --target release_zip --parallel ${jobs}
    COMMENT "The ${arch} varnex.exe, built in ${folder}"
    USES_TERMINAL VERBATIM)
  # One program at a time: each build uses every core by itself.
  if(previous)
    add_dependencies(release_${arch} ${previous})
  endif()
  set(previous release_${arch})
endforeach()
add_custom_target(release_sums ALL
  COMMAND bash ${PROJECT_SOURCE_DIR}/tools/release-zip.sh --sums ${VARNEX_RELEASE_DIR} ${PROJECT_VERSION}
  COMMENT "SHA256SUMS of the release zips"
  VERBATIM)
add_dependencies(release_sums release_win32 release_win64)
