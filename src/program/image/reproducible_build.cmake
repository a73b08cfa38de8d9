# Builds setup.exe, setup-stub.exe and zarc.exe again from a copy of the sources, in other folders
# and at another time, and fails unless each comes out byte for byte the same as BUILT_SETUP,
# BUILT_STUB and BUILT_ZARC.
# Only those targets are built; the packing runs under Wine in the first build's prefix.
file(REMOVE_RECURSE "${WORK}")
foreach(item CMakeLists.txt bench cmake demo scripts src tools)
  file(COPY "${SOURCE}/${item}" DESTINATION "${WORK}/source")
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S "${WORK}/source" -B "${WORK}/build" -G Ninja
          -DCMAKE_TOOLCHAIN_FILE=${WORK}/source/cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=${BUILD_TYPE}
          -DBUILD_TESTING=OFF -DSETUP_PACKAGE=${PACKAGE} -DSETUP_WINE_PREFIX=${WINE_PREFIX}
  RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the second build could not be configured")
endif()
execute_process(
  COMMAND ${CMAKE_COMMAND} --build "${WORK}/build" --target setup setup-stub zarc -j 2
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the second build failed:\n${output}")
endif()

set(differ "")
foreach(pair "${BUILT_SETUP}|src/program/setup.exe" "${BUILT_STUB}|src/program/setup-stub.exe"
             "${BUILT_ZARC}|tools/zarc/zarc.exe")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 first)
  list(GET pair 1 second)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${first}" "${WORK}/build/${second}"
                  RESULT_VARIABLE result)
  if(result EQUAL 0)
    message(STATUS "same bytes: ${second}")
  else()
    execute_process(COMMAND cmp "${first}" "${WORK}/build/${second}" OUTPUT_VARIABLE where ERROR_VARIABLE where)
    string(APPEND differ "${second}: ${where}")
  endif()
endforeach()
if(differ)
  message(FATAL_ERROR "the two builds differ:\n${differ}")
endif()
file(REMOVE_RECURSE "${WORK}")
